#pragma once

#include <QFont>
#include <QString>

namespace veltrane::shell {

// The first of the program's faces ("Tahoma", then "Arial") that the system
// has, else its closest sans-serif.
QString sansFamily();

// "Benchmarking, please wait...": 25 pixels, italic, antialiased.
QFont pleaseWaitFont(int weight);

}  // namespace veltrane::shell
