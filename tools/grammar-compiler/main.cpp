// tvx-grammar-compiler: compiles a grammar source into a compiled grammar
// table file. Used by the build; see grammars/README.md for the notation.
#include "grammar_compiler.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

int Usage() {
    std::cerr << "usage: tvx-grammar-compiler [--report] <grammar source> <table file>\n";
    return 2;
}

bool ReadFile(const std::string& name, std::string& text) {
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

// Writes next to the target and renames, so a failed write never leaves a
// half-written table file behind.
bool WriteFile(const std::string& name, const std::string& bytes) {
    const std::string temporary = name + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, name, error);
    if (error) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bool report = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--report") {
            report = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage();
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        return Usage();
    }
    std::string source;
    if (!ReadFile(files[0], source)) {
        std::cerr << files[0] << ": cannot be read\n";
        return 1;
    }
    const tvx::grammar::CompileResult result = tvx::grammar::CompileGrammar(source, files[0]);
    for (const std::string& warning : result.warnings) {
        std::cerr << warning << "\n";
    }
    for (const std::string& error : result.errors) {
        std::cerr << error << "\n";
    }
    if (!result.ok) {
        std::remove(files[1].c_str()); // no stale tables from an earlier grammar
        return 1;
    }
    if (!WriteFile(files[1], result.tableFile)) {
        std::cerr << files[1] << ": cannot be written\n";
        return 1;
    }
    if (report) {
        const auto& g = result.grammar;
        std::cout << "symbols " << g.symbols.size() << ", rules " << g.rules.size()
                  << ", character sets " << g.scanner.charSets.size() << ", DFA states "
                  << g.scanner.states.size() << ", LALR states " << g.parser.states.size() << "\n";
    }
    return 0;
}
