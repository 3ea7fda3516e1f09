#include "headless/program/CheckText.h"

namespace headless {

namespace {

const char* word(Verdict verdict) {
    switch (verdict) {
        case Verdict::Note:
            return "note";
        case Verdict::Ok:
            return "ok";
        case Verdict::Warning:
            return "warning";
        case Verdict::Fail:
            break;
    }
    return "FAIL";
}

std::string entryText(const Finding& finding) {
    return finding.entry ? std::to_string(*finding.entry) : "-";
}

void printFinding(const Finding& finding, std::ostream& out, const std::string& about = "") {
    std::string label = word(finding.verdict);
    label.resize(9, ' ');
    out << "  " << label << about << finding.text << '\n';
}

std::size_t countOf(const CheckResult& result, Verdict verdict) {
    std::size_t count = 0;
    for (const PairCheck& pair : result.pairs) {
        count += pair.verdict() == verdict ? 1U : 0U;
    }
    return count;
}

}  // namespace

void printCheck(const CheckResult& result, std::ostream& out) {
    if (!result.list.empty()) {
        out << "list " << result.list.front().file << ":\n";
    }
    for (const Finding& finding : result.list) {
        printFinding(finding, out);
    }
    for (const PairCheck& pair : result.pairs) {
        out << "pair " << pair.pair << " of " << result.pairs.size() << " (list entry "
            << pair.entry << ": " << pair.protocol
            << (pair.timeCourse.empty() ? "" : ", " + pair.timeCourse)
            << "): " << (pair.verdict() == Verdict::Fail ? "would FAIL" : word(pair.verdict()))
            << '\n';
        for (const Finding& finding : pair.findings) {
            printFinding(finding, out);
        }
    }
    if (!result.unused.empty()) {
        out << "entries that take no part:\n";
        for (const auto& [pair, finding] : result.unused) {
            printFinding(finding, out, "entry " + entryText(finding) + " (" + finding.file + "): ");
        }
    }
    const std::size_t pairs = result.pairs.size();
    out << "check: " << pairs << (pairs == 1 ? " pair: " : " pairs: ")
        << countOf(result, Verdict::Ok) << " ready, " << countOf(result, Verdict::Warning)
        << " with warnings, " << countOf(result, Verdict::Fail) << " would fail; "
        << result.unused.size() << (result.unused.size() == 1 ? " entry takes" : " entries take")
        << " no part; "
        << (result.verdict() == Verdict::Fail ? "the run would not make every design matrix due"
                                              : "nothing fails")
        << '\n';
}

bool writeCheckTsv(const CheckResult& result, const std::string& path) {
    TsvFile file(path, {"pair", "list entry", "file", "result", "finding"});
    const auto row = [&](const std::string& pair, const Finding& finding) {
        std::string verdict = word(finding.verdict);
        if (finding.verdict == Verdict::Fail) {
            verdict = "fail";
        }
        file.row(std::vector<std::string>{pair, entryText(finding), finding.file, verdict,
                                          finding.text});
    };
    for (const Finding& finding : result.list) {
        row("-", finding);
    }
    for (const PairCheck& pair : result.pairs) {
        for (const Finding& finding : pair.findings) {
            row(std::to_string(pair.pair), finding);
        }
    }
    for (const auto& [pair, finding] : result.unused) {
        row(pair ? std::to_string(*pair) : "-", finding);
    }
    return file.close();
}

}  // namespace headless
