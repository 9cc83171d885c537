// bench_parse: scan and parse throughput of the parser engine.
//   bench_parse [megabytes] [table file]
// Generates a source of statements and expressions (fixed seed), then times
// scanning alone and scanning with parsing (the whole tree is built).
#include "parser/gold_parser.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

class SourceGenerator {
public:
    explicit SourceGenerator(size_t bytes) : Target(bytes) {}

    std::string Make() {
        while (Text.size() < Target) {
            Statement(0);
        }
        return std::move(Text);
    }

private:
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(Random); }

    void Line(int depth, const std::string& text) {
        Text.append(static_cast<size_t>(depth) * 2, ' ');
        Text += text;
        Text += "\r\n";
    }

    std::string Name() {
        static const char* const names[] = {"count", "total", "x", "y", "index", "limit", "value"};
        return names[Pick(7)] + std::to_string(Pick(20));
    }

    std::string Operand(int depth) {
        switch (Pick(depth > 2 ? 3 : 5)) {
        case 0:
            return Name();
        case 1:
            return std::to_string(Pick(100000));
        case 2:
            return std::to_string(Pick(1000)) + "." + std::to_string(Pick(100));
        case 3:
            return std::string(1, '(').append(Expression(depth + 1)).append(1, ')');
        default:
            return std::string(1, '-').append(Name());
        }
    }

    std::string Expression(int depth) {
        static const char* const ops[] = {" + ", " - ", " * ", " / ", " < ", " = "};
        std::string text = Operand(depth);
        for (size_t n = Pick(4); n > 0; --n) {
            text += ops[Pick(6)] + Operand(depth);
        }
        return text;
    }

    void Statement(int depth) {
        const size_t kind = depth > 3 ? Pick(3) : Pick(6);
        if (kind <= 1) {
            Line(depth, Name() + " := " + Expression(0) + ";");
        } else if (kind == 2) {
            Line(depth, "print \"value of " + Name() + "\"; // report");
        } else if (kind == 3) {
            Line(depth, "if " + Expression(0) + " then");
            Block(depth + 1);
            Line(depth, "else { the other way }");
            Block(depth + 1);
            Line(depth, "end");
        } else if (kind == 4) {
            Line(depth, "while " + Name() + " < " + Expression(0) + " do");
            Block(depth + 1);
            Line(depth, "end");
        } else {
            Line(depth, "(* a comment (* nested *) between statements *)");
        }
    }

    void Block(int depth) {
        for (size_t n = 1 + Pick(4); n > 0; --n) {
            Statement(depth);
        }
    }

    size_t Target;
    std::string Text;
    std::mt19937 Random{12345};
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv) {
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 4.0;
    const QString tables = argc > 2 ? QString::fromLocal8Bit(argv[2]) : TVX_BENCH_TABLES;
    tvx::TGOLDParser parser;
    if (!parser.LoadCompiledGrammar(tables)) {
        std::fprintf(stderr, "cannot load %s\n", tables.toLocal8Bit().constData());
        return 1;
    }
    const std::string source = SourceGenerator(static_cast<size_t>(megabytes * 1e6)).Make();
    const double mb = static_cast<double>(source.size()) / 1e6;
    std::printf("source: %.2f MB\n", mb);

    double bestScan = 1e9;
    double bestParse = 1e9;
    size_t tokens = 0;
    size_t reductions = 0;
    for (int round = 0; round < 3; ++round) {
        parser.OpenTextString(source);
        auto start = std::chrono::steady_clock::now();
        tokens = 0;
        while (parser.RetrieveToken()->GetKind() != tvx::skEnd) {
            ++tokens;
        }
        bestScan = std::min(bestScan, Seconds(start));

        parser.OpenTextString(source);
        start = std::chrono::steady_clock::now();
        reductions = 0;
        tvx::TParseMessage message;
        while ((message = parser.Parse()) == tvx::msgTokenRead || message == tvx::msgReduction) {
            reductions += message == tvx::msgReduction ? 1 : 0;
        }
        bestParse = std::min(bestParse, Seconds(start));
        if (message != tvx::msgAccept) {
            std::fprintf(stderr, "parse stopped with message %d on line %d\n", message,
                         parser.GetCurrentLine());
            return 1;
        }
    }
    parser.OpenTextString({}); // frees the tree before the numbers are read
    std::printf("scan:         %8.1f MB/s  (%zu tokens, whitespace and comments included)\n",
                mb / bestScan, tokens);
    std::printf("scan + parse: %8.1f MB/s  (%zu reductions, tree kept)\n", mb / bestParse,
                reductions);
    return 0;
}
