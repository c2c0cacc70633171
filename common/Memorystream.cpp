#include "common/Memorystream.h"

#include <algorithm>
#include <cstring>

namespace kz {

namespace {

int32_t LittleEndianInt(const uint8_t* bytes) {
    uint32_t value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                     uint32_t(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

void StoreLittleEndian(int32_t value, uint8_t* bytes) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

ByteStream::ByteStream(const uint8_t* data, int32_t size, std::unique_ptr<uint8_t[]> owned)
    : owned_(std::move(owned)), data_(data), size_(std::max<int32_t>(size, 0)) {}

ByteStream ByteStream::Reader(const uint8_t* data, int32_t size) {
    return ByteStream(data ? data : reinterpret_cast<const uint8_t*>(""), data ? size : 0, nullptr);
}

ByteStream ByteStream::Writer() {
    auto buffer = std::make_unique<uint8_t[]>(kWriterCapacity);  // zero-filled
    const uint8_t* data = buffer.get();
    return ByteStream(data, kWriterCapacity, std::move(buffer));
}

bool ByteStream::TakeBytes(int32_t count, const uint8_t*& start) {
    if (position_ >= size_)
        return false;
    if (count > size_ - position_) {
        position_ = size_;
        return false;
    }
    start = data_ + position_;
    position_ += count;
    return true;
}

uint8_t ByteStream::ReadByte() {
    const uint8_t* p;
    return TakeBytes(1, p) ? *p : 0;
}

int32_t ByteStream::ReadInt() {
    const uint8_t* p;
    return TakeBytes(4, p) ? LittleEndianInt(p) : 0;
}

int32_t ByteStream::ReadInt64() {
    const uint8_t* p;
    return TakeBytes(8, p) ? LittleEndianInt(p) : 0;
}

int32_t ByteStream::ReadByteList(uint8_t* destination, int32_t capacity) {
    const int32_t count = ReadInt();
    const int32_t n = std::min(count, capacity);
    for (int32_t i = 0; i < n; ++i)
        destination[i] = ReadByte();
    return count;
}

int32_t ByteStream::ReadWordList(uint16_t* destination, int32_t capacity) {
    const int32_t count = ReadInt();
    const int32_t n = std::min(count, capacity);
    for (int32_t i = 0; i < n; ++i)
        destination[i] = static_cast<uint16_t>(ReadInt());
    return count;
}

bool ByteStream::PutBytes(const uint8_t* bytes, int32_t count) {
    if (!owned_ || count > kWriterCapacity - position_)
        return false;
    std::memcpy(owned_.get() + position_, bytes, count);
    position_ += count;
    return true;
}

void ByteStream::WriteByte(uint8_t value) { PutBytes(&value, 1); }

void ByteStream::WriteInt(int32_t value) {
    uint8_t bytes[4];
    StoreLittleEndian(value, bytes);
    PutBytes(bytes, 4);
}

void ByteStream::WriteInt64(int32_t value) {
    uint8_t bytes[8];
    StoreLittleEndian(value, bytes);
    StoreLittleEndian(value < 0 ? -1 : 0, bytes + 4);
    PutBytes(bytes, 8);
}

void ByteStream::WriteByteList(const uint8_t* items, int32_t count) {
    const int32_t n = std::max<int32_t>(count, 0);
    if (4 + int64_t(n) > kWriterCapacity - position_)
        return;
    WriteInt(count);
    PutBytes(items, n);
}

void ByteStream::WriteWordList(const uint16_t* items, int32_t count) {
    const int32_t n = std::max<int32_t>(count, 0);
    if (4 + 4 * int64_t(n) > kWriterCapacity - position_)
        return;
    WriteInt(count);
    for (int32_t i = 0; i < n; ++i)
        WriteInt(items[i]);
}

}  // namespace kz
