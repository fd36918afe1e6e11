// Writes the demo data set into the application directory given as the only
// argument; fails when an element code does not resolve to its own table
// record. What the directory's paths leave out is told in one line, and the
// build goes on without it.
#include <exception>
#include <iostream>
#include <string>

#include "platform/rt/error.h"
#include "tools/demo_model.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velkor_demo_data <application directory>\n";
        return 2;
    }
    try {
        std::string leftOut;
        const auto problems = demo::writeDemoData(argv[1], &leftOut);
        for (const auto& p : problems) std::cerr << "velkor_demo_data: " << p << '\n';
        if (!leftOut.empty()) std::cout << "velkor_demo_data: " << leftOut << '\n';
        return problems.empty() ? 0 : 1;
    } catch (const rt::Error& e) {
        std::cerr << "velkor_demo_data: " << e.description() << " " << e.detail() << '\n';
    } catch (const std::exception& e) {
        std::cerr << "velkor_demo_data: " << e.what() << '\n';
    }
    return 1;
}
