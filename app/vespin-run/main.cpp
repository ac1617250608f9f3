// vespin-run: the headless runner. Builds a machine from the options, runs it for a number of
// frames as fast as possible and prints or writes what the options ask for, in their order.
// Exit status: 0 success, 1 a file that cannot be loaded or written, 2 a usage error.
#include <iostream>
#include <string_view>
#include <vector>

#include "run_options.h"
#include "runner.h"

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::string_view arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << vespin::UsageText();
            return 0;
        }
    }
    vespin::RunRequest request;
    if (std::string error = vespin::ParseCommandLine(args, request); !error.empty()) {
        std::cerr << "vespin-run: " << error << " (see --help)\n";
        return 2;
    }
    if (std::string error = vespin::RunMachine(request, std::cout); !error.empty()) {
        std::cerr << "vespin-run: " << error << "\n";
        return 1;
    }
    return 0;
}
