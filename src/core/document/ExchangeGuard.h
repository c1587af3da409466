#pragma once
// Counts nesting while a front end moves values between the document and its controls, so that
// the change notifications the transfer itself raises can be told apart from the user's edits.

namespace zr4700 {

class ExchangeGuard {
  public:
    explicit ExchangeGuard(int& depth) : depth_(depth) { ++depth_; }
    ~ExchangeGuard() { --depth_; }
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

  private:
    int& depth_;
};

} // namespace zr4700
