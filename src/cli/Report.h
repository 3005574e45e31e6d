#pragma once

#include <string>
#include <vector>

namespace qpx::cli {

// What a command prints as its result: sections of labelled texts, and tables. The texts are the
// ones the dialogs show; the same report prints as lines for people or as JSON for scripts.
struct ReportField {
    std::string key;   // JSON name
    std::string label; // the dialog's label; empty for a text that stands alone (a summary)
    std::string text;
};

struct ReportTable {
    std::string key;
    std::vector<std::string> columnKeys;
    std::vector<std::string> columnTitles;
    std::vector<std::vector<std::string>> rows;
};

struct ReportSection {
    std::string key;
    std::string title;
    std::vector<ReportField> fields;
    std::vector<ReportTable> tables;

    void add(std::string fieldKey, std::string label, std::string text) {
        fields.push_back({std::move(fieldKey), std::move(label), std::move(text)});
    }
};

struct Report {
    std::vector<ReportSection> sections;

    ReportSection& section(std::string key, std::string title) {
        sections.push_back({std::move(key), std::move(title), {}, {}});
        return sections.back();
    }
};

// Each section as its title, then "  label text" lines; a table as its titles and rows.
std::string FormatReportText(const Report& report);
// One object: each section an object of its field keys, each table an array of row objects.
std::string FormatReportJson(const Report& report);
// A JSON string literal: quotes, backslashes and control characters escaped, bytes that are not
// UTF-8 replaced by U+FFFD.
std::string JsonString(std::string_view text);

} // namespace qpx::cli
