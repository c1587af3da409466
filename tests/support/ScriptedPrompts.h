#pragma once
// A UserPrompts that answers from a script. Queue the prompts a test expects, in order; every
// prompt is recorded, a prompt that was not expected (or not the expected one) fails the test,
// and prompts left unanswered fail it when the script is destroyed.

#include "core/document/UserPrompts.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace zr4700::testing {

class ScriptedPrompts : public UserPrompts {
  public:
    enum class Kind { Question, Error, Warning };

    struct Prompt {
        Kind kind = Kind::Question;
        int stringId = 0;
        std::vector<std::string> args;
        std::string detail;
        bool operator==(const Prompt&) const = default;
    };

    ScriptedPrompts() = default;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;
    ~ScriptedPrompts() override {
        if (checkAtEnd_ && !script_.empty())
            ADD_FAILURE() << script_.size() << " scripted prompt(s) never came; the first is "
                          << Describe(script_.front().kind, script_.front().stringId);
    }

    // The next prompt must be this question; it is answered Yes when yes is true. With args, the
    // question's arguments must be exactly these.
    ScriptedPrompts& ExpectQuestion(int stringId, bool yes,
                                    std::optional<std::vector<std::string>> args = {}) {
        script_.push_back({Kind::Question, stringId, yes, std::move(args)});
        return *this;
    }
    // The next prompt must be this error box.
    ScriptedPrompts& ExpectError(int stringId, std::optional<std::vector<std::string>> args = {}) {
        script_.push_back({Kind::Error, stringId, false, std::move(args)});
        return *this;
    }

    bool AskYesNo(int stringId, const std::vector<std::string>& args = {}) override {
        return Take(Kind::Question, stringId, args);
    }
    void ShowError(int stringId, const std::vector<std::string>& args = {}) override {
        Take(Kind::Error, stringId, args);
    }
    void ShowErrorDetail(int stringId, const std::vector<std::string>& args,
                         const std::string& detail) override {
        Take(Kind::Error, stringId, args, detail);
    }
    void ShowWarningDetail(int stringId, const std::vector<std::string>& args,
                           const std::string& detail) override {
        Take(Kind::Warning, stringId, args, detail);
    }
    bool AskYesNoDetail(int stringId, const std::vector<std::string>& args,
                        const std::string& detail) override {
        return Take(Kind::Question, stringId, args, detail);
    }
    // The next prompt must be this warning notice.
    ScriptedPrompts& ExpectWarning(int stringId) {
        script_.push_back({Kind::Warning, stringId, false, std::nullopt});
        return *this;
    }

    // Every prompt shown so far, expected or not.
    const std::vector<Prompt>& asked() const { return asked_; }
    std::vector<int> askedIds() const {
        std::vector<int> ids;
        for (const Prompt& prompt : asked_)
            ids.push_back(prompt.stringId);
        return ids;
    }
    bool done() const { return script_.empty(); }
    // For tests that end a script early on purpose.
    void DoNotCheckAtEnd() { checkAtEnd_ = false; }

  private:
    struct Expected {
        Kind kind;
        int stringId;
        bool answer;
        std::optional<std::vector<std::string>> args;
    };

    static std::string Describe(Kind kind, int stringId) {
        const char* what = kind == Kind::Question ? "question "
                           : kind == Kind::Error  ? "error "
                                                  : "warning ";
        return what + std::to_string(stringId);
    }

    bool Take(Kind kind, int stringId, const std::vector<std::string>& args,
              const std::string& detail = {}) {
        asked_.push_back({kind, stringId, args, detail});
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected " << Describe(kind, stringId);
            return false;
        }
        const Expected expected = script_.front();
        script_.pop_front();
        if (expected.kind != kind || expected.stringId != stringId) {
            ADD_FAILURE() << "expected " << Describe(expected.kind, expected.stringId) << ", got "
                          << Describe(kind, stringId);
            return false;
        }
        if (expected.args && *expected.args != args) {
            std::string got;
            for (const std::string& arg : args)
                got += "[" + arg + "]";
            ADD_FAILURE() << Describe(kind, stringId) << " came with the arguments " << got;
        }
        return expected.answer;
    }

    std::deque<Expected> script_;
    std::vector<Prompt> asked_;
    bool checkAtEnd_ = true;
};

} // namespace zr4700::testing
