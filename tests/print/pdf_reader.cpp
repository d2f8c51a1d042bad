// SPDX-License-Identifier: Apache-2.0
#include "pdf_reader.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace {

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, read);
    }
    ::pclose(pipe);
    return output;
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

} // namespace

std::string pdfInfoField(const std::string& path, const std::string& field) {
    std::istringstream lines(run("pdfinfo " + quoted(path) + " 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            const std::size_t start = line.find_first_not_of(' ', field.size() + 1);
            return start == std::string::npos ? std::string() : line.substr(start);
        }
    }
    return {};
}

int pdfPageCount(const std::string& path) {
    const std::string pages = pdfInfoField(path, "Pages");
    return pages.empty() ? 0 : std::stoi(pages);
}

std::string pdfPageText(const std::string& path, int page, bool layout) {
    const std::string number = std::to_string(page);
    return run("pdftotext " + std::string(layout ? "-layout " : "") + "-f " + number + " -l " +
               number + " " + quoted(path) + " - 2>/dev/null");
}

QImage pdfPageImage(const std::string& path, int page, int dpi) {
    const std::string prefix = path + ".page" + std::to_string(page);
    const std::string number = std::to_string(page);
    run("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + number + " -l " + number +
        " " + quoted(path) + " " + quoted(prefix));
    QImage image(QString::fromStdString(prefix + ".png"));
    std::filesystem::remove(prefix + ".png");
    return image;
}
