#ifndef MORVA_PLATFORM_RANDOM_STREAM_H_
#define MORVA_PLATFORM_RANDOM_STREAM_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/status.h"

namespace morva {

// Reads `out.size()` bytes from the kernel's random source (getrandom), waiting for it to be seeded.
Status KernelRandomBytes(std::span<std::uint8_t> out);

// A stream of unpredictable bytes for overwriting files and drawing names: the ChaCha20 keystream under
// a key from the kernel's random source. The kernel alone gives about 120 MB/s on a small virtual
// machine, less than a disk takes; the keystream gives several times that from one draw of the kernel's.
class RandomStream {
 public:
  // Keyed from the kernel's random source; ok() is false when that failed (the stream then gives nothing).
  RandomStream();
  RandomStream(const RandomStream&) = delete;
  RandomStream& operator=(const RandomStream&) = delete;

  bool ok() const { return ok_; }

  // Fills `out` with the next bytes of the stream. Does nothing when !ok().
  void Fill(std::span<std::uint8_t> out);

  // A number below `bound` (> 0), every value with the same chance.
  std::uint32_t Below(std::uint32_t bound);

 private:
  // Computes the next 64-byte block into block_.
  void NextBlock();

  std::array<std::uint32_t, 16> state_{};
  std::array<std::uint8_t, 64> block_{};
  std::size_t used_ = sizeof(block_);  // bytes of block_ already given out
  bool ok_ = false;
};

}  // namespace morva

#endif  // MORVA_PLATFORM_RANDOM_STREAM_H_
