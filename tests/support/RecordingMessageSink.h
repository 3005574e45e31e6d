#pragma once

#include "link/MessageSink.h"

#include <string>
#include <vector>

namespace qpx::test {

// Records every message the core shows; questions are answered from a queue (OK when empty).
class RecordingMessageSink : public link::MessageSink {
public:
    struct Entry {
        enum class Kind { Message, Question, Information } kind;
        std::string title;
        std::string text;
    };

    void showMessage(std::string_view text) override {
        entries.push_back({Entry::Kind::Message, {}, std::string(text)});
    }
    bool askOkCancel(std::string_view text, std::string_view title) override {
        entries.push_back({Entry::Kind::Question, std::string(title), std::string(text)});
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void showInformation(std::string_view title, std::string_view text) override {
        entries.push_back({Entry::Kind::Information, std::string(title), std::string(text)});
    }

    // The texts of all entries, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& e : entries) {
            out.push_back(e.text);
        }
        return out;
    }

    std::vector<Entry> entries;
    std::vector<bool> answers;
};

} // namespace qpx::test
