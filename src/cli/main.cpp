#include <iostream>

#include "cli/App.h"

int main(int argc, char** argv) {
    return veltrane::cli::runApp(argc, argv, std::cout, std::cerr);
}
