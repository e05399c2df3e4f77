#include "records/save_format.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/convert.h"
#include "records/name_text.h"

namespace {

// The float fields of "VBDSND1.DLL" around the savings, in file order.
constexpr float PlayerRecord::*kItemsBefore[] = {&PlayerRecord::ProxyContract,   &PlayerRecord::ReservedItem,
                                                 &PlayerRecord::PmcUpItem,       &PlayerRecord::SpectaclesGrade,
                                                 &PlayerRecord::MembershipGames, &PlayerRecord::SpectaclesItem};
constexpr float PlayerRecord::*kItemsAfter[] = {&PlayerRecord::FanfareX5Item, &PlayerRecord::FanfareTotal,
                                                &PlayerRecord::BankruptCount, &PlayerRecord::FastPlayCoins,
                                                &PlayerRecord::FuaSpeed,      &PlayerRecord::DigitalSpeed};

void PutU64(Bytes& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void PutFloat(Bytes& out, float f) {
  const auto v = std::bit_cast<std::uint32_t>(f);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Reads little-endian values at offsets; bytes past the end read as zeros.
class Reader {
 public:
  explicit Reader(const Bytes& b) : b_(b) {}
  std::uint8_t At(std::size_t i) const { return i < b_.size() ? b_[i] : 0; }
  std::uint64_t U64(std::size_t at) const {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(At(at + i)) << (8 * i);
    return v;
  }
  float Float(std::size_t at) const {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(At(at + i)) << (8 * i);
    return std::bit_cast<float>(v);
  }

 private:
  const Bytes& b_;
};

}  // namespace

Bytes EncodeVbdsnd(const PlayerRecord& r) {
  Bytes out;
  out.reserve(kVbdsndSize);
  for (auto field : kItemsBefore) PutFloat(out, r.*field);
  PutU64(out, static_cast<std::uint64_t>(r.Savings.units));
  for (auto field : kRecordFields) PutFloat(out, r.*field);
  for (auto field : kItemsAfter) PutFloat(out, r.*field);
  return out;
}

PlayerRecord DecodeVbdsnd(const Bytes& bytes) {
  const Reader in(bytes);
  PlayerRecord r;
  std::size_t at = 0;
  // A field of this file alone that holds no number (NaN, infinity) reads as 0, like any other edit of it that
  // goes unnoticed. The records keep what they hold: their check against the other copy catches it.
  auto item = [&](float PlayerRecord::*field) {
    const float v = in.Float(at);
    r.*field = std::isfinite(v) ? v : 0.0f;
    at += 4;
  };
  for (auto field : kItemsBefore) item(field);
  r.Savings.units = static_cast<std::int64_t>(in.U64(at));
  at += 8;
  for (auto field : kRecordFields) r.*field = in.Float(at), at += 4;
  for (auto field : kItemsAfter) item(field);
  return r;
}

Bytes EncodeDataFiles(const PlayerRecord& r) {
  Bytes out;
  PutU64(out, static_cast<std::uint64_t>(r.Savings.units));
  for (auto field : kRecordFields) PutFloat(out, r.*field);
  // The name is the last field: a double-byte character simply takes two bytes.
  const bool asRead = !r.StoredName.bytes.empty() && Trim(FixedName(r.Name)) == Trim(r.StoredName.read);
  const Bytes name = asRead ? r.StoredName.bytes : ToCodePage(FixedName(r.Name));
  out.insert(out.end(), name.begin(), name.end());
  return out;
}

DataFilesCopy DecodeDataFiles(const Bytes& bytes) {
  const Reader in(bytes);
  DataFilesCopy c;
  c.Savings.units = static_cast<std::int64_t>(in.U64(0));
  for (int i = 0; i < kRecordCount; ++i) c.Records[i] = in.Float(8 + 4 * i);
  if (bytes.size() <= 32) return c;
  bool exact = true;
  c.Name = NameFromCodePage(bytes.data() + 32, bytes.size() - 32, &exact);
  if (!exact) c.StoredName = {c.Name, Bytes(bytes.begin() + 32, bytes.begin() + std::min(bytes.size(), kDataFilesSize))};
  return c;
}

bool CopiesAgree(const DataFilesCopy& check, const PlayerRecord& r) {
  if (check.Savings.units != r.Savings.units) return false;
  for (int i = 0; i < kRecordCount; ++i)
    if (!(check.Records[i] == r.*kRecordFields[i])) return false;
  return true;
}

bool AllFieldsFinite(const PlayerRecord& r) {
  for (auto field : kItemsBefore)
    if (!std::isfinite(r.*field)) return false;
  for (auto field : kRecordFields)
    if (!std::isfinite(r.*field)) return false;
  for (auto field : kItemsAfter)
    if (!std::isfinite(r.*field)) return false;
  return true;
}
