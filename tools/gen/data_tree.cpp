#include "data_tree.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

void DataWriter::fail(const std::string& what) {
    std::fprintf(stderr, "tavrelo-gen: %s\n", what.c_str());
    ok_ = false;
}

void DataWriter::makeDirectory(const std::string& relative) {
    std::error_code error;
    std::filesystem::create_directories(path(relative), error);
    if (error) fail("cannot create " + path(relative) + ": " + error.message());
}

void DataWriter::writePng(const Canvas& image, const std::string& relative) {
    if (!image.writePng(path(relative))) fail("cannot write " + path(relative));
}

void DataWriter::writeBytes(const std::vector<unsigned char>& bytes, const std::string& relative) {
    std::ofstream file(path(relative), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) fail("cannot write " + path(relative));
}

void alphaFromBrightness(Canvas& image) {
    image.shade([](int, int, Rgba c) {
        c.a = clamp01(std::max({c.r, c.g, c.b}));
        return c;
    });
}
