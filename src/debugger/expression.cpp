#include "debugger/expression.h"

#include <array>
#include <string>

namespace vespin {

namespace {

constexpr const char* kBadHex = "Invalid character in hexadecimal constant!";
constexpr const char* kBadBinary = "Invalid character in binary constant!";
constexpr const char* kBadName = "Invalid variable name!";
constexpr const char* kNoFactor = "Hint: Dec 0, Hex #0, Bin %0";
constexpr const char* kDivideByZero = "Divide by zero!";
constexpr const char* kNoClose = "Not found close parenthesis!";
constexpr const char* kNoOpen = "Not found open parenthesis!";
constexpr const char* kBadOperator = "Invalid operator";
// Not a message of the original dialogs: guards the evaluator's stack against absurd nesting.
constexpr const char* kTooDeep = "Expression nested too deeply!";
constexpr int kMaxDepth = 200;

// Register names in lookup order. Byte registers and pairs are zero-extended, T is taken whole.
struct RegisterName {
    const char* name;
    uint32_t (*value)(const Z80RegisterSet&);
};

uint32_t High(uint16_t v) {
    return v >> 8;
}
uint32_t Low(uint16_t v) {
    return v & 0xFF;
}

constexpr std::array<RegisterName, 39> kRegisterNames{{
    {"a", [](const Z80RegisterSet& r) -> uint32_t { return r.A; }},
    {"f", [](const Z80RegisterSet& r) -> uint32_t { return r.F; }},
    {"b", [](const Z80RegisterSet& r) -> uint32_t { return r.B; }},
    {"c", [](const Z80RegisterSet& r) -> uint32_t { return r.C; }},
    {"d", [](const Z80RegisterSet& r) -> uint32_t { return r.D; }},
    {"e", [](const Z80RegisterSet& r) -> uint32_t { return r.E; }},
    {"h", [](const Z80RegisterSet& r) -> uint32_t { return r.H; }},
    {"l", [](const Z80RegisterSet& r) -> uint32_t { return r.L; }},
    {"xl", [](const Z80RegisterSet& r) { return Low(r.IX); }},
    {"ixl", [](const Z80RegisterSet& r) { return Low(r.IX); }},
    {"xh", [](const Z80RegisterSet& r) { return High(r.IX); }},
    {"ixh", [](const Z80RegisterSet& r) { return High(r.IX); }},
    {"yl", [](const Z80RegisterSet& r) { return Low(r.IY); }},
    {"iyl", [](const Z80RegisterSet& r) { return Low(r.IY); }},
    {"yh", [](const Z80RegisterSet& r) { return High(r.IY); }},
    {"iyh", [](const Z80RegisterSet& r) { return High(r.IY); }},
    {"i", [](const Z80RegisterSet& r) -> uint32_t { return r.I; }},
    {"r", [](const Z80RegisterSet& r) -> uint32_t { return r.VisibleR(); }},
    {"a'", [](const Z80RegisterSet& r) { return High(r.AF_); }},
    {"f'", [](const Z80RegisterSet& r) { return Low(r.AF_); }},
    {"b'", [](const Z80RegisterSet& r) { return High(r.BC_); }},
    {"c'", [](const Z80RegisterSet& r) { return Low(r.BC_); }},
    {"d'", [](const Z80RegisterSet& r) { return High(r.DE_); }},
    {"e'", [](const Z80RegisterSet& r) { return Low(r.DE_); }},
    {"h'", [](const Z80RegisterSet& r) { return High(r.HL_); }},
    {"l'", [](const Z80RegisterSet& r) { return Low(r.HL_); }},
    {"bc", [](const Z80RegisterSet& r) -> uint32_t { return r.BC(); }},
    {"de", [](const Z80RegisterSet& r) -> uint32_t { return r.DE(); }},
    {"hl", [](const Z80RegisterSet& r) -> uint32_t { return r.HL(); }},
    {"ix", [](const Z80RegisterSet& r) -> uint32_t { return r.IX; }},
    {"iy", [](const Z80RegisterSet& r) -> uint32_t { return r.IY; }},
    {"af", [](const Z80RegisterSet& r) -> uint32_t { return r.AF(); }},
    {"pc", [](const Z80RegisterSet& r) -> uint32_t { return r.PC; }},
    {"sp", [](const Z80RegisterSet& r) -> uint32_t { return r.SP; }},
    {"af'", [](const Z80RegisterSet& r) -> uint32_t { return r.AF_; }},
    {"bc'", [](const Z80RegisterSet& r) -> uint32_t { return r.BC_; }},
    {"de'", [](const Z80RegisterSet& r) -> uint32_t { return r.DE_; }},
    {"hl'", [](const Z80RegisterSet& r) -> uint32_t { return r.HL_; }},
    {"t", [](const Z80RegisterSet& r) { return static_cast<uint32_t>(r.T); }},
}};

bool IsLetter(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Recursive descent over the lower-cased text. Values are kept unsigned so that every
// operation wraps modulo 2^32 without undefined behaviour.
class Evaluator {
  public:
    Evaluator(std::string text, const Z80RegisterSet& regs) : text_(std::move(text)), regs_(regs) {}

    uint32_t Run() { return Expression(0); }

  private:
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool AtEnd() const { return pos_ >= text_.size(); }

    // Sum of terms; stops at the end of the text, or at the ")" that closes this level.
    uint32_t Expression(int depth) {
        if (depth > kMaxDepth) throw ExpressionError(kTooDeep);
        uint32_t sum = Term(depth);
        for (;;) {
            if (AtEnd()) {
                if (depth > 0) throw ExpressionError(kNoClose);
                return sum;
            }
            const char c = Peek();
            if (c == '+' || c == '-') {
                ++pos_;
                const uint32_t t = Term(depth);
                sum = c == '+' ? sum + t : sum - t;
            } else if (c == ')') {
                if (depth == 0) throw ExpressionError(kNoOpen);
                return sum;
            } else {
                throw ExpressionError(kBadOperator);
            }
        }
    }

    uint32_t Term(int depth) {
        uint32_t product = Factor(depth);
        while (Peek() == '*' || Peek() == '/') {
            const char op = text_[pos_++];
            const uint32_t f = Factor(depth);
            if (op == '*') {
                product *= f;
            } else {
                product = Divide(product, f);
            }
        }
        return product;
    }

    // Signed division truncated toward zero; INT32_MIN / -1 wraps to INT32_MIN.
    static uint32_t Divide(uint32_t a, uint32_t b) {
        if (b == 0) throw ExpressionError(kDivideByZero);
        const auto sa = static_cast<int64_t>(static_cast<int32_t>(a));
        const auto sb = static_cast<int64_t>(static_cast<int32_t>(b));
        return static_cast<uint32_t>(sa / sb);
    }

    uint32_t Factor(int depth) {
        bool negate = false;
        while (Peek() == '-') {
            negate = !negate;
            ++pos_;
        }
        const uint32_t v = Primary(depth);
        return negate ? 0u - v : v;
    }

    uint32_t Primary(int depth) {
        // The text ends inside parentheses before their expression does.
        if (AtEnd() && depth > 0) throw ExpressionError(kNoClose);
        const char c = Peek();
        if (c == '#') return Number(16, kBadHex);
        if (c == '%') return Number(2, kBadBinary);
        if (IsDigit(c)) return Number(10, nullptr);
        if (c == '(') {
            ++pos_;
            const uint32_t v = Expression(depth + 1);
            if (Peek() != ')') throw ExpressionError(kNoClose);
            ++pos_;
            return v;
        }
        if (IsLetter(c)) return Name();
        throw ExpressionError(kNoFactor);
    }

    // Digits accumulate without a limit; only the low 32 bits are kept.
    uint32_t Number(uint32_t base, const char* error) {
        if (base != 10) ++pos_; // the "#" or "%"
        auto digit = [base](char ch) {
            const int d = HexValue(ch);
            return d >= 0 && static_cast<uint32_t>(d) < base ? d : -1;
        };
        if (digit(Peek()) < 0) throw ExpressionError(error);
        uint32_t v = 0;
        for (int d = digit(Peek()); d >= 0; d = digit(Peek())) {
            v = v * base + static_cast<uint32_t>(d);
            ++pos_;
        }
        return v;
    }

    uint32_t Name() {
        const size_t start = pos_;
        while (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '_' || Peek() == '\'')
            ++pos_;
        const std::string_view name(text_.data() + start, pos_ - start);
        for (const RegisterName& entry : kRegisterNames) {
            if (name == entry.name) return entry.value(regs_);
        }
        throw ExpressionError(kBadName);
    }

    std::string text_;
    const Z80RegisterSet& regs_;
    size_t pos_ = 0;
};

} // namespace

int32_t EvaluateExpression(std::string_view text, const Z80RegisterSet& regs) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return static_cast<int32_t>(Evaluator(std::move(lower), regs).Run());
}

} // namespace vespin
