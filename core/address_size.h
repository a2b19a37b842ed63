#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace quorvane {

// The three address sizes of a KEY file. The enumerator values are the bit
// widths, so they print as the user reads them.
enum class AddressSize { Bits16 = 16, Bits24 = 24, Bits32 = 32 };

// S-record types, valued as the digit after the "S".
enum class RecordType { S0 = 0, S1 = 1, S2 = 2, S3 = 3, S5 = 5, S6 = 6, S7 = 7, S8 = 8, S9 = 9 };

// An S-record's count byte (at most 255) covers address, data and checksum,
// so each address size has its own largest record.
inline constexpr int kMaxSrecordCount = 255;

[[nodiscard]] constexpr int addressBytes(AddressSize size)
{
    switch (size) {
    case AddressSize::Bits16: return 2;
    case AddressSize::Bits24: return 3;
    case AddressSize::Bits32: return 4;
    }
    return 4;
}

// Hex digits of an address field and of the address in a data record.
[[nodiscard]] constexpr int addressDigits(AddressSize size) { return 2 * addressBytes(size); }

// The highest address a data record of the size can reach: FFFF, FFFFFF or
// FFFFFFFF.
[[nodiscard]] constexpr quint32 topAddress(AddressSize size)
{
    return quint32((quint64(1) << (8 * addressBytes(size))) - 1);
}

// Largest number of data bytes in one record: 252, 251 or 250.
[[nodiscard]] constexpr int dataLimit(AddressSize size) { return kMaxSrecordCount - addressBytes(size) - 1; }

[[nodiscard]] constexpr RecordType dataRecordType(AddressSize size)
{
    switch (size) {
    case AddressSize::Bits16: return RecordType::S1;
    case AddressSize::Bits24: return RecordType::S2;
    case AddressSize::Bits32: return RecordType::S3;
    }
    return RecordType::S3;
}

[[nodiscard]] constexpr RecordType endRecordType(AddressSize size)
{
    switch (size) {
    case AddressSize::Bits16: return RecordType::S9;
    case AddressSize::Bits24: return RecordType::S8;
    case AddressSize::Bits32: return RecordType::S7;
    }
    return RecordType::S7;
}

// "S1", "S9", ...
[[nodiscard]] QString recordTypeText(RecordType type);

// The end record of a KEY file: "S9030000FC", "S804000000FB" or "S70500000000FA".
[[nodiscard]] QString endRecordLine(AddressSize size);

// The address size of the document. This is the one place the mode lives;
// the window's menu check marks and the address fields' lengths follow it
// through listeners, which run in the order they were added after every
// SetAddr call.
class AddressMode {
public:
    using Listener = std::function<void(AddressSize)>;

    AddressMode() = default;
    // Listeners belong to the owner of an instance (a window's marks follow
    // its own document), so a copy takes the mode alone.
    AddressMode(const AddressMode& other) : current_(other.current_) {}
    AddressMode& operator=(const AddressMode& other)
    {
        current_ = other.current_;
        return *this;
    }

    [[nodiscard]] AddressSize current() const { return current_; }

    void SetAddr16() { set(AddressSize::Bits16); }
    void SetAddr24() { set(AddressSize::Bits24); }
    void SetAddr32() { set(AddressSize::Bits32); }
    void set(AddressSize size);

    void addListener(Listener listener) { listeners_.push_back(std::move(listener)); }

private:
    AddressSize current_ = AddressSize::Bits32;
    std::vector<Listener> listeners_;
};

} // namespace quorvane
