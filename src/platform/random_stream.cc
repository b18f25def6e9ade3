#include "platform/random_stream.h"

#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace morva {
namespace {

constexpr std::uint32_t Rotl(std::uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }

inline void QuarterRound(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c, std::uint32_t& d) {
  a += b;
  d = Rotl(d ^ a, 16);
  c += d;
  b = Rotl(b ^ c, 12);
  a += b;
  d = Rotl(d ^ a, 8);
  c += d;
  b = Rotl(b ^ c, 7);
}

}  // namespace

Status KernelRandomBytes(std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = getrandom(out.data() + done, out.size() - done, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::Error(errno, "getrandom");
    }
    done += static_cast<std::size_t>(n);
  }
  return Status::Ok();
}

RandomStream::RandomStream() {
  // "expand 32-byte k", then 32 bytes of key, a 64-bit block counter and a 64-bit nonce (RFC 7539's
  // original layout): 2^64 blocks of 64 bytes before the counter would wrap.
  state_[0] = 0x61707865;
  state_[1] = 0x3320646e;
  state_[2] = 0x79622d32;
  state_[3] = 0x6b206574;
  std::array<std::uint8_t, 40> seed{};
  if (!KernelRandomBytes(seed).ok()) return;
  std::memcpy(&state_[4], seed.data(), 32);
  state_[12] = 0;
  state_[13] = 0;
  std::memcpy(&state_[14], seed.data() + 32, 8);
  ok_ = true;
}

void RandomStream::NextBlock() {
  std::array<std::uint32_t, 16> x = state_;
  for (int i = 0; i < 10; ++i) {
    QuarterRound(x[0], x[4], x[8], x[12]);
    QuarterRound(x[1], x[5], x[9], x[13]);
    QuarterRound(x[2], x[6], x[10], x[14]);
    QuarterRound(x[3], x[7], x[11], x[15]);
    QuarterRound(x[0], x[5], x[10], x[15]);
    QuarterRound(x[1], x[6], x[11], x[12]);
    QuarterRound(x[2], x[7], x[8], x[13]);
    QuarterRound(x[3], x[4], x[9], x[14]);
  }
  for (int i = 0; i < 16; ++i) x[i] += state_[i];
  // The words' byte order does not matter to anyone reading the stream: copied as the machine has them.
  std::memcpy(block_.data(), x.data(), block_.size());
  if (++state_[12] == 0) ++state_[13];
  used_ = 0;
}

void RandomStream::Fill(std::span<std::uint8_t> out) {
  if (!ok_) return;
  std::size_t done = 0;
  while (done < out.size()) {
    if (used_ == block_.size()) NextBlock();
    const std::size_t n = std::min(out.size() - done, block_.size() - used_);
    std::memcpy(out.data() + done, block_.data() + used_, n);
    used_ += n;
    done += n;
  }
}

std::uint32_t RandomStream::Below(std::uint32_t bound) {
  if (!ok_ || bound == 0) return 0;
  // Draws above the largest multiple of `bound` are drawn again, so no value is favoured.
  const std::uint32_t limit = static_cast<std::uint32_t>(-bound) % bound;  // 2^32 mod bound
  while (true) {
    std::uint32_t v = 0;
    Fill(std::span(reinterpret_cast<std::uint8_t*>(&v), sizeof(v)));
    if (v >= limit) return v % bound;
  }
}

}  // namespace morva
