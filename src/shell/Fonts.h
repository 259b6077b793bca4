#pragma once

#include <QFont>
#include <QString>

namespace veltrane::shell {

// The first of the program's faces ("Tahoma", then "Arial") that the system
// has, else its closest sans-serif.
QString sansFamily();

// The charts' face: `pixelSize` pixels high, normal weight, italic,
// antialiased, proportional sans-serif.
QFont chartFont(int pixelSize);

// The information pages' headings: the chart face in bold.
QFont headingFont(int pixelSize);

// "Benchmarking, please wait...": the chart font at 25 pixels in `weight`.
QFont pleaseWaitFont(int weight);

}  // namespace veltrane::shell
