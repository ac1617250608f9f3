#include "debugger/expression.h"

#include <gtest/gtest.h>

#include <string>

namespace vespin {
namespace {

Z80RegisterSet SampleRegisters() {
    Z80RegisterSet r;
    r.SetAF(0x1234);
    r.SetBC(0x5678);
    r.SetHL(0x4000);
    r.IX = 0xABCD;
    r.IY = 0x8001;
    r.PC = 0x8000;
    r.SP = 0xFFF0;
    r.AF_ = 0x9ABC;
    r.HL_ = 0x0102;
    r.R = 0x05;
    r.R7 = 0x80;
    r.T = 70000;
    return r;
}

struct ValueCase {
    const char* text;
    int32_t value;
};

TEST(EvaluateExpression, Values) {
    const Z80RegisterSet regs = SampleRegisters();
    const ValueCase cases[] = {
        {"#ff", 255},
        {"#FF", 255},
        {"%1010", 10},
        {"0010", 10},
        {"2+3*4", 14},
        {"10-3-2", 5},
        {"100/7*7", 98},
        {"-#10", -16},
        {"--5", 5},
        {"-(2+3)*2", -10},
        {"-7/2", -3}, // truncates toward zero
        {"(hl+1)*2", 0x8002},
        {"pc+2", 0x8002},
        {"PC", 0x8000},
        {"af'", 0x9ABC},
        {"a'", 0x9A},
        {"f'", 0xBC},
        {"h'", 0x01},
        {"ixh", 0xAB},
        {"xl", 0xCD},
        {"yh", 0x80},
        {"r", 0x85}, // with the kept bit 7
        {"a", 0x12},
        {"f", 0x34},
        {"t", 70000},
        {"sp", 0xFFF0},
        {"#100000001", 1},                 // only the low 32 bits of a long number
        {"4294967296", 0},                 //
        {"#7fffffff+1", INT32_MIN},        // wraps
        {"(-2147483647-1)/-1", INT32_MIN}, // the one overflowing division wraps
        {"((((1))))", 1},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EvaluateExpression(c.text, regs), c.value);
    }
}

struct FailureCase {
    std::string text;
    const char* message;
};

TEST(EvaluateExpression, Failures) {
    const Z80RegisterSet regs = SampleRegisters();
    const FailureCase cases[] = {
        {"#", "Invalid character in hexadecimal constant!"},
        {"#g", "Invalid character in hexadecimal constant!"},
        {"%2", "Invalid character in binary constant!"},
        {"ix'", "Invalid variable name!"},
        {"ff", "Invalid variable name!"},
        {"", "Hint: Dec 0, Hex #0, Bin %0"},
        {"1+", "Hint: Dec 0, Hex #0, Bin %0"},
        {" 1", "Hint: Dec 0, Hex #0, Bin %0"},
        {"7/0", "Divide by zero!"},
        {"7/(1-1)", "Divide by zero!"},
        {"(1+2", "Not found close parenthesis!"},
        {"(", "Not found close parenthesis!"},
        {"((1)", "Not found close parenthesis!"},
        {"1+2)", "Not found open parenthesis!"},
        {"2 +3", "Invalid operator"},
        {"(2 )", "Invalid operator"},
        {"2&3", "Invalid operator"},
        {std::string(100000, '('), "Expression nested too deeply!"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        try {
            EvaluateExpression(c.text, regs);
            ADD_FAILURE() << "no error";
        } catch (const ExpressionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

} // namespace
} // namespace vespin
