// The libraries' own messages (a font that is missing, ...) go through this Qt
// logging category, so a program filters or redirects them like its own:
//
//   QLoggingCategory::setFilterRules("travenel.chart.warning=false");
#pragma once

#include <QLoggingCategory>

namespace travenel {

Q_DECLARE_LOGGING_CATEGORY(lcChart)

}  // namespace travenel
