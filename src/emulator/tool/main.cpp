#include <iostream>

#include "emulator/tool/EmuCommands.h"

int main(int argc, char** argv) {
    return orvane::emulator::runEmuTool(argc, argv, std::cout, std::cerr);
}
