#pragma once
// Reads the numbers of the projection definition and grid files the way their "%lf,%lf" and "%lf %lf %d"
// formats do, without the locale: blanks before a number are skipped, a conversion that fails stops the
// reading, and the count of numbers read tells the caller how far the line went.
#include <cstddef>
#include <string_view>

namespace geometry::projections {

class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : rest_(text) {}

    // A real number (optional sign, decimal or exponent form, "inf" and "nan" as C reads them).
    bool real(double& value);
    // A decimal integer in the int range.
    bool integer(int& value);
    // The character c, after blanks when `skipBlanks`.
    bool literal(char c, bool skipBlanks = false);
    // The next run of non-blank characters into out (at most size - 1 of them); false when there is none or
    // when it does not fit, which leaves out empty.
    bool word(char* out, std::size_t size);
    // Blanks (spaces, tabs, line ends) skipped; true when something remains.
    bool more();

    // Reads up to n reals, each after `separator` but the first ("%lf,%lf,..."; a blank separator stands
    // for any run of blanks); answers how many were read.
    int reals(double* values, int n, char separator);

    std::string_view rest() const { return rest_; }

private:
    void skipBlanks();
    std::string_view rest_;
};

} // namespace geometry::projections
