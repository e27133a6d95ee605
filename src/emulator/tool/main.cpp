#include <iostream>

#include "EmuCommands.h"

int main(int argc, char** argv) {
    return orvane::emulator::runEmuTool(argc, argv, std::cout, std::cerr);
}
