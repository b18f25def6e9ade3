#ifndef MORVA_PLATFORM_ENGINE_TEXT_H_
#define MORVA_PLATFORM_ENGINE_TEXT_H_

#include <string>
#include <string_view>

namespace morva {

class TextCodec;

// The code page 932 form of one of the program's own texts, written as a UTF-8 literal in the source.
// Every such text has a code page 932 form; should the codec still refuse one, the result is empty
// rather than UTF-8 bytes that would be taken for code page 932.
std::string Cp932Text(TextCodec& codec, std::string_view utf8);

}  // namespace morva

#endif  // MORVA_PLATFORM_ENGINE_TEXT_H_
