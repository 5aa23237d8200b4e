// Format: numbers and value lists as the picture's texts write them.
#pragma once

#include <string>
#include <vector>

namespace travenel {

// Whole numbers without a fraction ("74"), others with up to 6 significant
// digits ("0.25", "1.5e+20").
std::string NumberText(double v);

// Sorted distinct values: a short list ("500, 1000"), an evenly spaced run
// ("0 to 100 by 5"), or the ends and the count ("3 to 97, 12 values").
std::string ValuesText(const std::vector<double>& values);

}  // namespace travenel
