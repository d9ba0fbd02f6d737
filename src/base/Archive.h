// The program's fixed-width binary encoding, shared by the settings file, the data file and the
// custom-variable files: int32 little-endian, float32 as its four raw bytes, and a text as a
// length prefix (one byte below 255; 0xFF and 16 bits below 65534; 0xFF, 0xFFFF and 32 bits
// otherwise) followed by its bytes without a terminator.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vexor {

// Where an ArchiveWriter's bytes go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(const void* data, size_t size) = 0;
};

// Collects the bytes in memory (tests, fuzzing).
class StringSink : public ByteSink {
 public:
  void Write(const void* data, size_t size) override {
    m_bytes.append(static_cast<const char*>(data), size);
  }
  const std::string& Bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
};

// Where an ArchiveReader's bytes come from. Size() is the total number of bytes the source
// holds, so that a reader can refuse a length that runs past the end before allocating.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to max bytes; 0 at the end or on an error.
  virtual size_t ReadSome(char* destination, size_t max) = 0;
  virtual uint64_t Size() const = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
  size_t ReadSome(char* destination, size_t max) override;
  uint64_t Size() const override { return m_bytes.size(); }

 private:
  std::string_view m_bytes;
  size_t m_position = 0;
};

// Reads a whole file from its start. Open() fails for a missing or unreadable file.
class FileSource : public ByteSource {
 public:
  FileSource() = default;
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool Open(const std::string& path);
  size_t ReadSome(char* destination, size_t max) override;
  uint64_t Size() const override { return m_size; }

 private:
  std::FILE* m_file = nullptr;
  uint64_t m_size = 0;
};

class ArchiveWriter {
 public:
  explicit ArchiveWriter(ByteSink& sink) : m_sink(sink) {}
  ~ArchiveWriter() { Flush(); }
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  void WriteInt32(int32_t value);
  void WriteFloat(float value);
  void WriteString(std::string_view text);
  // Writes n int32 values at once (the large tables of the data file).
  void WriteInt32s(const int32_t* values, size_t n);
  // Writes n int32 zeros (0.0f has the same bytes) without building them first.
  void WriteZeroInt32s(size_t n);
  // Passes the buffered bytes on to the sink.
  void Flush();

 private:
  void Put(const void* data, size_t size);
  // Room for at least one more int32 in the buffer; returns the free bytes.
  size_t Room();

  ByteSink& m_sink;
  std::vector<char> m_buffer;  // allocated at the first write
  size_t m_used = 0;
};

// Reads fields in order. The first failure (end of data, or a text longer than the bytes left)
// is sticky: every later read fails too and leaves its output untouched.
class ArchiveReader {
 public:
  explicit ArchiveReader(ByteSource& source) : m_source(source) {}

  bool ReadInt32(int32_t* value);
  bool ReadFloat(float* value);
  bool ReadString(std::string* text);
  // Fills n int32 values at once (for the large tables of the data file).
  bool ReadInt32s(int32_t* values, size_t n);

  bool ok() const { return m_ok; }
  // Bytes not read yet.
  uint64_t Remaining() const { return m_source.Size() - m_consumed; }
  bool AtEnd() const { return Remaining() == 0; }

 private:
  bool Take(void* destination, size_t size);

  ByteSource& m_source;
  std::vector<char> m_buffer;
  size_t m_position = 0;
  uint64_t m_consumed = 0;
  bool m_ok = true;
};

}  // namespace vexor
