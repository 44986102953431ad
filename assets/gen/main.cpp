// tavren-assetgen: writes the product's models and pictures into the folder given.
#include "Generate.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tavren-assetgen OUTPUT-FOLDER\n";
        return 2;
    }
    try {
        const auto written = tavren::GenerateAssets(argv[1]);
        std::cout << "wrote " << written.size() << " files into " << argv[1] << "\n";
    } catch (const std::exception& error) {
        std::cerr << "tavren-assetgen: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
