#ifndef MORVA_PLATFORM_DECIMAL_TEXT_H_
#define MORVA_PLATFORM_DECIMAL_TEXT_H_

#include <cstddef>
#include <optional>
#include <string_view>

// Decimal numbers in the program's texts. The files it stores (settings, presets, log) are read the
// lenient way the C library's atoi reads; texts whose form validation demands are read strictly.
namespace morva {

// The number at the start of `text` as atoi reads it: leading white space, an optional sign, then
// decimal digits; 0 when there are none. A value beyond int saturates instead of being undefined.
int LeadingInt(std::string_view text);

// The value of a text of 1 to `max_digits` decimal digits and nothing else (no sign, no blank), or
// nullopt for any other text. `max_digits` must be small enough for the value to fit an int (9 or less).
std::optional<int> DigitsOnly(std::string_view text, std::size_t max_digits);

}  // namespace morva

#endif  // MORVA_PLATFORM_DECIMAL_TEXT_H_
