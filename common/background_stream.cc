#include "common/background_stream.h"

namespace towngen {

BackgroundStreambuf::BackgroundStreambuf(std::ostream& target) : writer_(target) {
  chunk_.resize(kChunk);
  setp(chunk_.data(), chunk_.data() + chunk_.size());
}

void BackgroundStreambuf::handOver() {
  chunk_.resize(static_cast<std::size_t>(pptr() - pbase()));
  writer_.write(chunk_);  // leaves chunk_ empty, with a buffer to reuse
  chunk_.resize(kChunk);
  setp(chunk_.data(), chunk_.data() + chunk_.size());
}

BackgroundStreambuf::int_type BackgroundStreambuf::overflow(int_type c) {
  if (finished_ || writer_.failed()) return traits_type::eof();
  handOver();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::error_code BackgroundStreambuf::finish() {
  if (!finished_) {
    finished_ = true;
    if (pptr() != pbase()) handOver();
    setp(nullptr, nullptr);
  }
  return writer_.finish();
}

}  // namespace towngen
