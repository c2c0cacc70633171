// The little-endian byte stream of the stored settings value: a reader over
// bytes that belong to the caller, or a writer over a fixed buffer of its own.
// Pure code over bytes, so that it also builds natively for the fuzz tests.
#pragma once

#include <cstdint>
#include <memory>

namespace kz {

class ByteStream {
public:
    static constexpr int32_t kWriterCapacity = 512;

    // Reads size bytes at data; the bytes must outlive the stream.
    static ByteStream Reader(const uint8_t* data, int32_t size);
    // Writes into a zero-filled buffer of kWriterCapacity bytes; never grows.
    static ByteStream Writer();

    // Every read returns 0 and leaves the position when it starts at or past
    // the end. An item that starts inside the data but runs past its end is
    // absent too: it reads 0 and the stream is exhausted.
    uint8_t ReadByte();
    int32_t ReadInt();
    int32_t ReadInt64();  // 8 bytes; keeps the low 32 bits
    // An int count, then min(count, capacity) bytes. Returns the count as read.
    int32_t ReadByteList(uint8_t* destination, int32_t capacity);
    // An int count, then min(count, capacity) ints, the low 16 bits of each kept.
    int32_t ReadWordList(uint16_t* destination, int32_t capacity);

    // Writes that do not fit in the buffer are dropped whole.
    void WriteByte(uint8_t value);
    void WriteInt(int32_t value);
    void WriteInt64(int32_t value);  // the value, then 4 bytes of its sign extension
    void WriteByteList(const uint8_t* items, int32_t count);
    void WriteWordList(const uint16_t* items, int32_t count);

    int32_t Position() const { return position_; }
    const uint8_t* Data() const { return data_; }

private:
    ByteStream(const uint8_t* data, int32_t size, std::unique_ptr<uint8_t[]> owned);
    bool TakeBytes(int32_t count, const uint8_t*& start);
    bool PutBytes(const uint8_t* bytes, int32_t count);

    std::unique_ptr<uint8_t[]> owned_;  // set for a writer
    const uint8_t* data_;
    int32_t size_;
    int32_t position_ = 0;
};

}  // namespace kz
