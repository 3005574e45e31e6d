#include "SessionOutput.h"

#include <cctype>
#include <cstddef>
#include <regex>

namespace qpx::test {
namespace {

constexpr std::string_view kStampShape = "dddd/dd/dd dd:dd:dd";
constexpr std::string_view kMask = "YYYY/MM/DD HH:MM:SS";
constexpr std::string_view kProfile = " Profile ";

bool IsDeploymentLine(std::string_view line) {
    if (line.size() <= kStampShape.size() + kProfile.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kStampShape.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
        if (kStampShape[i] == 'd' ? !digit : line[i] != kStampShape[i]) {
            return false;
        }
    }
    line.remove_prefix(kStampShape.size());
    if (!line.starts_with(kProfile)) {
        return false;
    }
    line.remove_prefix(kProfile.size());
    for (const char c : line) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string MaskDeploymentTimes(std::string_view text) {
    std::string masked;
    masked.reserve(text.size());
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        end = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        const bool ended = line.ends_with('\n');
        const std::string_view body = ended ? line.substr(0, line.size() - 1) : line;
        if (IsDeploymentLine(body)) {
            masked += kMask;
            masked += body.substr(kMask.size());
            masked += ended ? "\n" : "";
        } else {
            masked += line;
        }
    }
    return masked;
}

std::string MaskReviewTimes(std::string_view text) {
    static const std::regex fromNow("^(  From now: ).*$");
    static const std::regex startWarning(R"(^(  Warning: The start time [^(]*)\([^)]*\))");
    static const std::regex recordStamp("_[0-9]{8}T[0-9]{6}Z_deploy");
    std::string masked;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        const bool ended = line.ends_with('\n');
        std::string body(ended ? line.substr(0, line.size() - 1) : line);
        body = std::regex_replace(body, fromNow, "$1(masked)");
        body = std::regex_replace(body, startWarning, "$1(masked)");
        body = std::regex_replace(body, recordStamp, "_YYYYMMDDTHHMMSSZ_deploy");
        // Recorded on Linux: the record's folder is named with Windows' separator there.
        if (body.starts_with("Deployment record: .\\")) {
            body[20] = '/';
        }
        masked += body + (ended ? "\n" : "");
    }
    return masked;
}

} // namespace qpx::test
