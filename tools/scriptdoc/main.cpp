// vrax-scriptdoc: the game's script functions for modders, written from the
// engine's registration table. With no argument it prints the reference;
// given README.md it rewrites the part between the two markers there, so
// README always lists what the engine registers (a unit test checks it).
#include "script/FLuaFunctions.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

const std::string Begin = "<!-- game functions: written by vrax-scriptdoc -->\n";
const std::string End = "<!-- end of the game functions -->";

int rewrite(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    const std::size_t from = text.find(Begin);
    const std::size_t to = text.find(End);
    if (!in || from == std::string::npos || to == std::string::npos || to < from) {
        std::cerr << path << ": the markers of the game functions are missing\n";
        return 1;
    }
    text.replace(from + Begin.size(), to - from - Begin.size(), gameFunctionReference());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) {
        std::cerr << path << ": could not be written\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::cerr << "usage: vrax-scriptdoc [README.md]\n";
        return 2;
    }
    if (argc == 2)
        return rewrite(argv[1]);
    std::cout << gameFunctionReference();
    return 0;
}
