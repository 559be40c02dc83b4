#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return sonoria::cli::RunCli(args, std::cout, std::cerr);
}
