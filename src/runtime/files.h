// Files, in-memory files and the run directory.
//
// File names are Text in the code page and are converted to the system's own
// encoding here. A file that failed to open is still a File: every later
// operation on it does nothing, so callers need no error paths of their own.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/text.h"

namespace suozhi::rt {

bool FileExists(const Text& name);

// Creates or truncates `name` and writes `bytes`; false when that failed.
bool WriteFile(const Text& name, const ByteSet& bytes);

// The whole content of a file, or nothing when it cannot be read.
std::optional<ByteSet> ReadFile(const Text& name);

// Puts `line` + CR LF in front of everything the file holds, creating the
// file when it is missing. The new content is written beside the file and
// then takes its place in one step, so an interrupted call leaves the old
// content whole. A file or directory without write permission is left alone.
// Concurrent callers (other processes included) are serialised by a lock on
// the file. False when nothing was written.
bool PrependLine(const Text& name, std::string_view line);

// Converts a code-page file name to the name the system's calls take.
std::string NativePath(const Text& name);

// A file opened for reading and writing, shared with other processes and not
// created when missing. Reads and writes start at position 0.
class File {
 public:
  explicit File(const Text& name);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;

  bool is_open() const { return fd_ >= 0; }

  // Inserts `text` + CR LF at the position, moving the rest of the file down.
  bool InsertLine(std::string_view text);
  // The next line: up to LF, a zero byte or byte 26; a CR before the LF is
  // dropped. Nothing at the end of the file.
  std::optional<Text> ReadLine();
  void Close();

 private:
  int fd_ = -1;
  std::int64_t position_ = 0;
};

// A byte buffer that grows as it is written and is read back from the start.
class MemoryFile {
 public:
  void Write(const void* data, size_t n);
  void SeekToStart() { position_ = 0; }
  void Reserve(size_t n) { data_.reserve(n); }
  ByteSet Read(size_t n);
  // Everything from the position to the end, handed over without a copy;
  // the memory file is empty afterwards.
  ByteSet TakeRest();
  size_t Length() const { return data_.size(); }
  bool AtEnd() const { return position_ >= data_.size(); }
  std::optional<Text> ReadLine();

 private:
  ByteSet data_;
  size_t position_ = 0;
};

// Reads one line of `data` from `position` with the rules of File::ReadLine.
std::optional<Text> ReadLineFrom(std::string_view data, size_t& position);

// The directory of the program file, without a trailing separator; empty when
// the program's path holds no separator.
Text RunDirectory();

// Makes the run directory the process's current directory.
bool EnterRunDirectory();

// The platform's path separator, as text.
Text PathSeparator();

}  // namespace suozhi::rt
