// Keeping the window's run: a context menu on the world and on the chart
// that saves the picture of both, or the run's counts as CSV.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>

class QWidget;

namespace travenel {

class TRunRecord;

// The world and the chart side by side, as they are shown.
QImage RunPicture(QWidget* world, QWidget* chart);

// Writes `bytes` to `path` whole or not at all: into a file beside it that
// replaces it only once complete. Throws std::runtime_error with a message
// for the user when it cannot.
void WriteWhole(const QString& path, const QByteArray& bytes);

// Gives `world` and `chart` the menu "Bild speichern…" / "Daten speichern…"
// on the right mouse button. The file dialogs belong to `window`; a file that
// cannot be written is reported through `report` (the window's error box).
void AddKeepMenu(QWidget* window, QWidget* world, QWidget* chart, const TRunRecord& record,
                 const std::function<bool(const std::function<void()>&)>& report);

}  // namespace travenel
