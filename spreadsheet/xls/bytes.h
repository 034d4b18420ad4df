#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Little-endian reading and writing for the record formats.
namespace varnex::spreadsheet::xls {

inline std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline double F64(const unsigned char* p) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

// A bounded view of a record's data: reads past the end give zeros and set
// `overrun`, so hostile lengths never read outside the record.
class Cursor {
 public:
  Cursor(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  explicit Cursor(std::string_view s)
      : data_(reinterpret_cast<const unsigned char*>(s.data())), size_(s.size()) {}

  std::size_t left() const { return pos_ < size_ ? size_ - pos_ : 0; }
  std::size_t pos() const { return pos_; }
  bool overrun() const { return overrun_; }
  void Skip(std::size_t n) {
    if (n > left()) overrun_ = true;
    pos_ = n > left() ? size_ : pos_ + n;
  }
  std::uint8_t U8() { return Have(1) ? data_[pos_++] : 0; }
  std::uint16_t Read16() {
    if (!Have(2)) return 0;
    pos_ += 2;
    return U16(data_ + pos_ - 2);
  }
  std::uint32_t Read32() {
    if (!Have(4)) return 0;
    pos_ += 4;
    return U32(data_ + pos_ - 4);
  }
  double ReadF64() {
    if (!Have(8)) return 0;
    pos_ += 8;
    return F64(data_ + pos_ - 8);
  }
  std::string_view Bytes(std::size_t n) {
    if (!Have(n)) return {};
    pos_ += n;
    return {reinterpret_cast<const char*>(data_ + pos_ - n), n};
  }

 private:
  bool Have(std::size_t n) {
    if (n <= left()) return true;
    overrun_ = true;
    pos_ = size_;
    return false;
  }
  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool overrun_ = false;
};

inline void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
inline void PutF64(std::string& out, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

}  // namespace varnex::spreadsheet::xls
