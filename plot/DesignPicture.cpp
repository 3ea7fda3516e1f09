#include "plot/DesignPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "plot/XmlText.h"

namespace plot {

namespace {

constexpr double kMargin = 16.0;
constexpr double kTitleFont = 18.0;
constexpr double kSubtitleFont = 12.0;
constexpr double kNameFont = 11.0;
constexpr double kLabelFont = 10.0;
constexpr double kCharacterWidth = 0.62;  // of the font size, a generous sans-serif average
constexpr double kTargetMatrixWidth = 720.0;
constexpr double kMinimumColumnWidth = 10.0;
constexpr double kMaximumColumnWidth = 100.0;
constexpr double kRowHeight = 6.0;  // until the matrix reaches its limits
constexpr double kMinimumMatrixHeight = 300.0;
constexpr double kMaximumMatrixHeight = 900.0;
constexpr double kStripHeight = 6.0;
constexpr std::size_t kFineLabelLimit = 500;  // volume numbers every 10 up to here, then 50

constexpr char kConfoundColour[] = "#e08a2c";
constexpr char kConstantColour[] = "#3a78d8";
constexpr char kConfoundText[] = "#9a4f0c";
constexpr char kConstantText[] = "#1f4f9a";

double textWidth(std::string_view text, double font) {
    // Characters, not bytes: continuation bytes of UTF-8 take no room.
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return static_cast<double>(characters) * font * kCharacterWidth;
}

// A coordinate with at most two decimals and no trailing zeros.
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string result = text;
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.') {
        result.pop_back();
    }
    return result == "-0" ? "0" : result;
}

const char* roleClass(PredictorRole role) {
    switch (role) {
        case PredictorRole::Confound:
            return "confound";
        case PredictorRole::Constant:
            return "constant";
        case PredictorRole::Task:
            break;
    }
    return "task";
}

const char* nameColour(PredictorRole role) {
    switch (role) {
        case PredictorRole::Confound:
            return kConfoundText;
        case PredictorRole::Constant:
            return kConstantText;
        case PredictorRole::Task:
            break;
    }
    return "#000000";
}

// Grey levels from the column's minimum (0) to its maximum (255); 128 throughout when it does
// not vary.
std::vector<int> greyLevels(const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double minimum = *low;
    const double maximum = *high;
    std::vector<int> levels;
    levels.reserve(values.size());
    for (double v : values) {
        if (minimum == maximum) {
            levels.push_back(128);
            continue;
        }
        // Halves keep the range finite for values near the largest double.
        const double range = maximum - minimum;
        const double t = std::isfinite(range) ? (v - minimum) / range
                                              : (v / 2 - minimum / 2) / (maximum / 2 - minimum / 2);
        levels.push_back(static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * 255.0)));
    }
    return levels;
}

std::string checkSummary(const DesignTable& table, const DesignCheck& check) {
    std::string text = std::to_string(table.nrOfPredictors()) + " predictors, " +
                       std::to_string(table.nrOfVolumes()) + " volumes";
    if (const auto& pair = check.largestCorrelation) {
        char r[32];
        std::snprintf(r, sizeof r, "%.3f", pair->r);
        text += " \xC2\xB7 largest correlation r = " + std::string(r) + " (" +
                table.names[pair->first] + ", " + table.names[pair->second] + ")";
    }
    return text + " \xC2\xB7 condition number " + conditionText(check.conditionNumber);
}

struct Layout {
    double columnWidth = 0.0;
    double rowHeight = 0.0;
    double nameFont = 0.0;
    bool uprightNames = false;
    double namesTop = 0.0;
    double namesHeight = 0.0;
    double stripTop = 0.0;
    double matrixLeft = 0.0;
    double matrixTop = 0.0;
    double matrixWidth = 0.0;
    double matrixHeight = 0.0;
    double legendTop = 0.0;
    double width = 0.0;
    double height = 0.0;
};

class Svg {
  public:
    void line(const std::string& text) {
        out_ += text;
        out_ += '\n';
    }
    std::string& out() { return out_; }

  private:
    std::string out_;
};

}  // namespace

std::string drawDesignPicture(const DesignTable& table, const DesignCheck& check,
                              const std::string& title) {
    const std::size_t count = table.nrOfPredictors();
    const std::size_t volumes = table.nrOfVolumes();
    const std::string summary = checkSummary(table, check);

    Layout layout;
    layout.columnWidth = std::clamp(kTargetMatrixWidth / static_cast<double>(count),
                                    kMinimumColumnWidth, kMaximumColumnWidth);
    layout.matrixHeight = std::clamp(static_cast<double>(volumes) * kRowHeight,
                                     kMinimumMatrixHeight, kMaximumMatrixHeight);
    layout.rowHeight = layout.matrixHeight / static_cast<double>(volumes);
    // Upright names in narrow columns keep a little room between them.
    layout.nameFont = std::min(kNameFont, layout.columnWidth - 1.0);
    double widestName = 0.0;
    for (const auto& name : table.names) {
        widestName = std::max(widestName, textWidth(name, layout.nameFont));
    }
    layout.uprightNames = widestName > layout.columnWidth - 4.0;
    layout.namesTop = kMargin + kTitleFont + 8.0 + kSubtitleFont + 10.0;
    layout.namesHeight = layout.uprightNames ? widestName + 8.0 : layout.nameFont + 6.0;
    layout.stripTop = layout.namesTop + layout.namesHeight;
    layout.matrixTop = layout.stripTop + kStripHeight + 3.0;
    const double labelWidth =
        std::max(textWidth(std::to_string(volumes), kLabelFont), textWidth("volume", kLabelFont));
    layout.matrixLeft = kMargin + labelWidth + 8.0;
    layout.matrixWidth = layout.columnWidth * static_cast<double>(count);
    layout.legendTop = layout.matrixTop + layout.matrixHeight + 22.0;
    const std::string scaleNote =
        "each column from its minimum (black) to its maximum (white); a constant column "
        "mid-grey";
    layout.width = std::max({layout.matrixLeft + layout.matrixWidth + kMargin,
                             2 * kMargin + textWidth(title, kTitleFont),
                             2 * kMargin + textWidth(summary, kSubtitleFont),
                             2 * kMargin + textWidth(scaleNote, kNameFont)});
    layout.height = layout.legendTop + 2 * 18.0 + kMargin;

    const std::string width = number(std::ceil(layout.width));
    const std::string height = number(std::ceil(layout.height));
    Svg svg;
    svg.line(R"(<?xml version="1.0" encoding="UTF-8"?>)");
    svg.line(R"(<svg xmlns="http://www.w3.org/2000/svg" width=")" + width + R"(" height=")" +
             height + R"(" viewBox="0 0 )" + width + " " + height +
             R"(" font-family="DejaVu Sans, Arial, Helvetica, sans-serif">)");
    svg.line("<title>" + xmlText(title) + "</title>");
    svg.line(R"(<rect width="100%" height="100%" fill="#ffffff"/>)");
    svg.line(R"(<text class="title" x=")" + number(kMargin) + R"(" y=")" +
             number(kMargin + kTitleFont) + R"(" font-size=")" + number(kTitleFont) +
             R"(" font-weight="bold">)" + xmlText(title) + "</text>");
    svg.line(R"(<text class="check" x=")" + number(kMargin) + R"(" y=")" +
             number(kMargin + kTitleFont + 8.0 + kSubtitleFont) + R"(" font-size=")" +
             number(kSubtitleFont) + R"(" fill="#444444">)" + xmlText(summary) + "</text>");

    // Names above their columns, upright (reading upwards) when the columns are narrow.
    svg.line(R"(<g class="names" font-size=")" + number(layout.nameFont) + R"(">)");
    const double nameBottom = layout.stripTop - 4.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double centre =
            layout.matrixLeft + (static_cast<double>(i) + 0.5) * layout.columnWidth;
        const std::string place =
            layout.uprightNames ? R"(transform="translate()" + number(centre) + "," +
                                      number(nameBottom) + R"svg() rotate(-90)" dy="0.35em")svg"
                                : R"(x=")" + number(centre) + R"(" y=")" + number(nameBottom) +
                                      R"(" text-anchor="middle")";
        svg.line(R"(<text class="name )" + std::string(roleClass(table.roles[i])) + R"(" )" +
                 place + R"( fill=")" + nameColour(table.roles[i]) + R"(">)" +
                 xmlText(table.names[i]) + "</text>");
    }
    svg.line("</g>");

    // The marks of the confound and constant columns, between the names and the matrix.
    svg.line(R"(<g class="marks">)");
    for (std::size_t i = 0; i < count; ++i) {
        const PredictorRole role = table.roles[i];
        if (role == PredictorRole::Task) {
            continue;
        }
        svg.line(R"(<rect class=")" + std::string(roleClass(role)) + R"(" x=")" +
                 number(layout.matrixLeft + static_cast<double>(i) * layout.columnWidth) +
                 R"(" y=")" + number(layout.stripTop) + R"(" width=")" +
                 number(layout.columnWidth - 1.0) + R"(" height=")" + number(kStripHeight) +
                 R"(" fill=")" +
                 (role == PredictorRole::Confound ? kConfoundColour : kConstantColour) + R"("/>)");
    }
    svg.line("</g>");

    // Volume numbers, from 1, at the first volume and every 10 or 50.
    const std::size_t step = volumes <= kFineLabelLimit ? 10 : 50;
    svg.line(R"(<g class="volumes" font-size=")" + number(kLabelFont) +
             R"(" text-anchor="end" fill="#333333" stroke-width="1">)");
    svg.line(R"(<text x=")" + number(layout.matrixLeft - 6.0) + R"(" y=")" +
             number(layout.matrixTop - 9.0) + R"(" fill="#777777">volume</text>)");
    for (std::size_t volume = 1; volume <= volumes; volume = volume == 1 ? step : volume + step) {
        const double y = layout.matrixTop + (static_cast<double>(volume) - 0.5) * layout.rowHeight;
        svg.line(R"(<line x1=")" + number(layout.matrixLeft - 4.0) + R"(" y1=")" + number(y) +
                 R"(" x2=")" + number(layout.matrixLeft) + R"(" y2=")" + number(y) +
                 R"(" stroke="#777777"/>)");
        svg.line(R"(<text x=")" + number(layout.matrixLeft - 6.0) + R"(" y=")" + number(y) +
                 R"(" dy="0.35em">)" + std::to_string(volume) + "</text>");
    }
    svg.line("</g>");

    // The matrix: one group per column, scaled so that each volume is one unit high.
    svg.line(R"(<g class="matrix" shape-rendering="crispEdges">)");
    const std::string cellWidth = number(layout.columnWidth - 1.0);
    char scale[32];
    std::snprintf(scale, sizeof scale, "%.6g", layout.rowHeight);
    char cell[128];
    for (std::size_t i = 0; i < count; ++i) {
        svg.line(R"(<g class="column )" + std::string(roleClass(table.roles[i])) +
                 R"(" transform="translate()" +
                 number(layout.matrixLeft + static_cast<double>(i) * layout.columnWidth) + "," +
                 number(layout.matrixTop) + ") scale(1," + scale + R"svg()">)svg");
        svg.line("<title>" + xmlText(table.names[i]) + "</title>");
        const std::vector<int> levels = greyLevels(table.columns[i]);
        std::string& out = svg.out();
        for (std::size_t row = 0; row < volumes; ++row) {
            std::snprintf(cell, sizeof cell,
                          R"(<rect y="%zu" width="%s" height="1" fill="#%02x%02x%02x"/>)"
                          "\n",
                          row, cellWidth.c_str(), levels[row], levels[row], levels[row]);
            out += cell;
        }
        svg.line("</g>");
    }
    svg.line("</g>");
    svg.line(R"(<rect class="frame" x=")" + number(layout.matrixLeft - 0.5) + R"(" y=")" +
             number(layout.matrixTop - 0.5) + R"(" width=")" + number(layout.matrixWidth) +
             R"(" height=")" + number(layout.matrixHeight + 1.0) +
             R"(" fill="none" stroke="#999999"/>)");

    // The legend: the marks present, then how the grey levels are scaled.
    svg.line(R"(<g class="legend" font-size=")" + number(kNameFont) + R"(" fill="#333333">)");
    double x = kMargin;
    const double swatchTop = layout.legendTop - 9.0;
    for (const PredictorRole role : {PredictorRole::Confound, PredictorRole::Constant}) {
        if (std::find(table.roles.begin(), table.roles.end(), role) == table.roles.end()) {
            continue;
        }
        const bool confound = role == PredictorRole::Confound;
        const std::string label =
            confound ? "confound (from predictor " + std::to_string(table.firstConfound) + ")"
                     : "constant";
        svg.line(R"(<rect x=")" + number(x) + R"(" y=")" + number(swatchTop) +
                 R"(" width="14" height=")" + number(kStripHeight + 4.0) + R"(" fill=")" +
                 (confound ? kConfoundColour : kConstantColour) + R"("/>)");
        svg.line(R"(<text x=")" + number(x + 20.0) + R"(" y=")" + number(layout.legendTop) +
                 R"(">)" + xmlText(label) + "</text>");
        x += 20.0 + textWidth(label, kNameFont) + 18.0;
    }
    svg.line(R"(<text x=")" + number(kMargin) + R"(" y=")" + number(layout.legendTop + 18.0) +
             R"(">)" + xmlText(scaleNote) + "</text>");
    svg.line("</g>");
    svg.line("</svg>");
    return std::move(svg.out());
}

}  // namespace plot
