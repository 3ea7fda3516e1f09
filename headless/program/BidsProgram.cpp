#include "headless/program/BidsProgram.h"

#include <algorithm>
#include <exception>
#include <iostream>

#include "bids/InputError.h"
#include "bids/TsvTable.h"
#include "headless/program/ExitStatus.h"
#include "headless/program/QualityCommand.h"

namespace headless {

std::string listOf(const std::string& option, const std::string& text,
                   std::vector<std::string>& items) {
    items.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (items.back().empty()) {
            return option + " takes names separated by commas, without empty ones: '" + text + "'";
        }
        if (comma == std::string::npos) {
            return "";
        }
        start = comma + 1;
    }
}

Option dummyOption(std::size_t& dummies, std::string help, std::string examples) {
    return {"--dummy", "N", std::move(help), std::move(examples),
            wholeNumber("--dummy", 0, [&dummies](long long count) {
                dummies = static_cast<std::size_t>(count);
            })};
}

Option sliceReferenceOption(std::optional<double>& reference, std::string help,
                            std::string examples) {
    return {"--slice-time-ref", "F", std::move(help), std::move(examples),
            [&reference](const std::string& value) -> std::string {
                const std::optional<double> fraction = bids::parseNumber(value);
                if (!fraction || *fraction < 0.0 || *fraction > 1.0) {
                    return "--slice-time-ref takes a fraction of the TR from 0 to 1, not '" +
                           value + "'";
                }
                reference = *fraction;
                return "";
            }};
}

Option repetitionTimeOption(std::optional<double>& repetitionTime, std::string help,
                            std::string examples) {
    return {"--tr", "S", std::move(help), std::move(examples),
            [&repetitionTime](const std::string& value) -> std::string {
                const std::optional<double> seconds = bids::parseNumber(value);
                if (!seconds || !(*seconds > 0.0)) {
                    return "--tr takes a positive number of seconds, not '" + value + "'";
                }
                repetitionTime = seconds;
                return "";
            }};
}

std::vector<Option> protocolOptions(bids::ProtocolRequest& protocol) {
    constexpr long long kDayMs = 24LL * 3600 * 1000;
    return {
        {"--conditions", "A,B,...",
         "Only these conditions, in this order; one without events "
         "stays empty.",
         "--conditions faces,houses",
         [&protocol](const std::string& value) -> std::string {
             std::vector<std::string> names;
             if (std::string error = listOf("--conditions", value, names); !error.empty()) {
                 return error;
             }
             for (auto name = names.begin(); name != names.end(); ++name) {
                 if (std::find(names.begin(), name, *name) != name) {
                     return "--conditions names " + *name + " twice";
                 }
             }
             protocol.conditions = names;
             return "";
         }},
        {"--modulation", "COLUMN",
         "A version-3 protocol with the column's values as parametric weights (0 for a condition "
         "whose events all have n/a).",
         "--modulation weight", assign(protocol.modulation)},
        {"--fixation", "NAME",
         "A first condition covering the time no event covers, from 0 to the end of the last "
         "event: the one that skipping the first condition skips.",
         "--fixation Rest", assign(protocol.fixation)},
        {"--min-duration", "MS",
         "Events shorter than MS milliseconds (zero and n/a included) last MS; without it a zero "
         "or n/a duration is refused.",
         "--min-duration 100",
         [&protocol, number = wholeNumber("--min-duration", 1,
                                          [&protocol](long long ms) {
                                              protocol.minimumDurationMs =
                                                  static_cast<int>(std::min(ms, kDayMs + 1));
                                          })](const std::string& value) {
             const std::string error = number(value);
             return error.empty() && *protocol.minimumDurationMs > kDayMs
                        ? "--min-duration " + value + " is longer than a day"
                        : error;
         }},
    };
}

std::string checkProtocolRequest(const bids::ProtocolRequest& protocol) {
    if (protocol.fixation && protocol.conditions &&
        std::find(protocol.conditions->begin(), protocol.conditions->end(), *protocol.fixation) !=
            protocol.conditions->end()) {
        return "--fixation " + *protocol.fixation + " is one of the --conditions";
    }
    return "";
}

const char kBidsInputHelp[] =
    "A file that cannot be used (a missing onset or duration column, a value that is not a "
    "number, a negative duration, an empty file, a CR inside a line, an unreadable NIfTI file, an "
    "implausible TR) is one message naming the file and the row, and nothing is written. A UTF-8 "
    "byte-order mark and CR LF line ends are read, with a note. Notes go to standard error.";

std::optional<int> readBidsArguments(const CommandSpec& command,
                                     const std::vector<std::string>& arguments,
                                     const std::function<std::string()>& check) {
    const ParsedArguments parsed = parseArguments(command, arguments);
    std::string error = parsed.error;
    if (error.empty() && parsed.help) {
        std::cout << helpText(command);
        return kRunSucceeded;
    }
    if (error.empty()) {
        error = check();
    }
    if (!error.empty()) {
        return usageError(command.name + ": " + error, command.name);
    }
    return std::nullopt;
}

std::optional<BidsOutcome> doBidsWork(
    const std::function<BidsOutcome(std::vector<std::string>& notes)>& work) {
    std::vector<std::string> notes;
    const auto sayNotes = [&notes] {
        for (const std::string& note : notes) {
            say(note);
        }
    };
    BidsOutcome outcome;
    try {
        outcome = work(notes);
    } catch (const bids::InputError& failure) {
        sayNotes();
        say(failure.what());
        return std::nullopt;
    } catch (const std::exception& failure) {
        sayNotes();
        say(std::string("cannot go on: ") + failure.what());
        return std::nullopt;
    }
    if (!outcome.summary.empty()) {
        show("design: ", outcome.summary);
    }
    sayNotes();
    for (const std::string& path : outcome.written) {
        say("wrote " + path);
    }
    return outcome;
}

int publishBidsQuality(const std::optional<std::string>& folder,
                       const std::function<std::vector<QualitySource>()>& sources, int status) {
    if (!folder) {
        return status;
    }
    try {
        return publishQuality(sources(), *folder, status);
    } catch (const std::exception& failure) {
        say(std::string("no quality report: ") + failure.what());
        return worsened(status, true);
    }
}

}  // namespace headless
