#include "travenel/app/KeepRun.h"

#include <QBuffer>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QWidget>
#include <algorithm>
#include <stdexcept>

#include "travenel/app/RunRecord.h"

namespace travenel {

namespace {

constexpr int kGap = 8;  // between the world and the chart, as in the window

std::runtime_error CannotWrite(const QString& path, const QString& why) {
  return std::runtime_error(
      QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(path, why)
          .toStdString());
}

QByteArray Png(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw std::runtime_error("Das Bild kann nicht erzeugt werden");
  return bytes;
}

}  // namespace

QImage RunPicture(QWidget* world, QWidget* chart) {
  const QPixmap a = world->grab(), b = chart->grab();
  QImage image(a.width() + kGap + b.width(), std::max(a.height(), b.height()),
               QImage::Format_RGB32);
  image.fill(world->parentWidget() ? world->parentWidget()->palette().window().color()
                                   : QColor(Qt::white));
  QPainter p(&image);
  p.drawPixmap(0, 0, a);
  p.drawPixmap(a.width() + kGap, 0, b);
  return image;
}

void WriteWhole(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw CannotWrite(path, file.errorString());
  if (file.write(bytes) != bytes.size()) {
    const QString why = file.errorString();
    file.cancelWriting();
    throw CannotWrite(path, why);
  }
  if (!file.commit()) throw CannotWrite(path, file.errorString());
}

void AddKeepMenu(QWidget* window, QWidget* world, QWidget* chart, const TRunRecord& record,
                 const std::function<bool(const std::function<void()>&)>& report) {
  const auto savePicture = [=] {
    const QString path = QFileDialog::getSaveFileName(
        window, QStringLiteral("Bild speichern"), QStringLiteral("travenel.png"),
        QStringLiteral("PNG-Bilder (*.png)"));
    if (path.isEmpty()) return;
    report([&] { WriteWhole(path, Png(RunPicture(world, chart))); });
  };
  const auto saveData = [=, &record] {
    const QString path = QFileDialog::getSaveFileName(
        window, QStringLiteral("Daten speichern"), QStringLiteral("travenel.csv"),
        QStringLiteral("CSV-Dateien (*.csv)"));
    if (path.isEmpty()) return;
    report([&] { WriteWhole(path, QByteArray::fromStdString(record.Csv())); });
  };
  for (QWidget* target : {world, chart}) {
    target->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(target, &QWidget::customContextMenuRequested, target,
                     [=](const QPoint& at) {
                       QMenu menu(target);
                       QAction* picture = menu.addAction(QStringLiteral("Bild speichern…"));
                       QAction* data = menu.addAction(QStringLiteral("Daten speichern…"));
                       QAction* chosen = menu.exec(target->mapToGlobal(at));
                       if (chosen == picture) savePicture();
                       if (chosen == data) saveData();
                     });
  }
}

}  // namespace travenel
