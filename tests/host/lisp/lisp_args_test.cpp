// A built-in's signature: the count of its arguments is checked before their types, the types in the order
// of the arguments, and those that may be left out are.
#include <gtest/gtest.h>

#include "host/filing/text_codec.h"
#include "host/lisp/lisp_args.h"

using host::LispArgs;
using host::LispValue;

TEST(LispSignature, CountThenEachTypeInOrder) {
    const auto repeat = host::lispFunction([](const std::wstring& text, int times,
                                              std::optional<double> scale) {
        std::wstring out;
        for (int i = 0; i < times; ++i)
            out += text;
        return LispValue::fromString(out + (scale ? L"*" + std::to_wstring(static_cast<int>(*scale)) : L""));
    });
    const LispValue a = LispValue::fromString(L"a"), two = LispValue::fromInteger(2),
                    half = LispValue::fromReal(0.5), three = LispValue::fromInteger(3);
    const struct {
        LispArgs args;
        const char* expected; // the error, or the string answered
    } cases[] = {
        {{}, "nombre d'arguments insuffisants"},
        {{a}, "nombre d'arguments insuffisants"},
        {{a, two, three, three}, "trop d'arguments"},
        {{two, a}, "type d'argument incorrect: stringp 2"}, // the first argument that fails is named
        {{a, half, a}, "type d'argument incorrect: fixnump 0.5"},
        {{a, two, a}, "type d'argument incorrect: numberp \"a\""},
        {{a, two}, "aa"},
        {{a, two, three}, "aa*3"}, // an integer is a number
    };
    for (const auto& c : cases) {
        std::string answer;
        try {
            answer = host::toUtf8(repeat(c.args).text);
        } catch (const host::LispError& error) {
            answer = error.what();
        }
        EXPECT_EQ(answer, c.expected) << c.args.size() << " arguments";
    }
}
