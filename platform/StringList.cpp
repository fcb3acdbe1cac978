#include "platform/StringList.h"

#include "platform/Worker.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

namespace quorlin {

namespace {

constexpr const char* StorePrefix = "quorlin-store-";

/// A temporary file in dir that has no name: with O_TMPFILE where the file
/// system knows it, else a named file that is unlinked at once (its name,
/// which carries the process id, is what CleanStaleStores looks for).
int OpenNamelessFile(const std::string& dir) {
#ifdef O_TMPFILE
  int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
#endif
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path =
        dir + "/" + StorePrefix + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1));
    fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::unlink(path.c_str());
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

} // namespace

std::string TextStoreDirectory() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

int CleanStaleStores(const std::string& dir) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return 0;
  int removed = 0;
  const size_t prefix = std::strlen(StorePrefix);
  while (const dirent* entry = ::readdir(d)) {
    const std::string_view name = entry->d_name;
    if (name.substr(0, prefix) != StorePrefix) continue;
    const long pid = std::strtol(entry->d_name + prefix, nullptr, 10);
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) continue; // still running
    if (::unlink((dir + "/" + std::string(name)).c_str()) == 0) ++removed;
  }
  ::closedir(d);
  return removed;
}

std::unique_ptr<TTextStore> TTextStore::Create() {
  std::unique_ptr<TTextStore> store(new TTextStore);
  // Address space only: nothing is committed until a chunk is mapped.
  for (uint64_t size : {uint64_t{1} << 40, uint64_t{64} << 30, uint64_t{4} << 30}) {
    void* p = ::mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p != MAP_FAILED) {
      store->Base = static_cast<char*>(p);
      store->Reserved = size;
      break;
    }
  }
  if (!store->Base) return nullptr;
  store->InFile = std::make_unique<std::atomic<bool>[]>(store->Reserved / ChunkBytes);
  store->Fd = OpenNamelessFile(TextStoreDirectory());
  return store;
}

TTextStore::~TTextStore() {
  if (Writer) Writer->Wait();
  Writer.reset();
  if (Base) ::munmap(Base, Reserved);
  if (Fd >= 0) ::close(Fd);
}

void TTextStore::MapChunk(uint64_t chunk) {
  // Texts are written to memory; a full chunk goes to the file at once.
  if (::mmap(Base + chunk * ChunkBytes, ChunkBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
             0) == MAP_FAILED)
    throw std::bad_alloc();
}

void TTextStore::FileChunk(uint64_t chunk) {
  char* at = Base + chunk * ChunkBytes;
  const auto offset = static_cast<off_t>(chunk * ChunkBytes);
  for (size_t done = 0; done < ChunkBytes;) {
    const ssize_t n = ::pwrite(Fd, at + done, ChunkBytes - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A full disk: this chunk and the later ones stay in memory.
      FileFailed = true;
      return;
    }
    done += static_cast<size_t>(n);
  }
  // The file's pages take the place of the memory, at the same addresses.
  if (::mmap(at, ChunkBytes, PROT_READ, MAP_SHARED | MAP_FIXED, Fd, offset) != MAP_FAILED) {
    InFile[chunk].store(true);
    return;
  }
  // The memory may be gone with the failed map: read the text back.
  bool restored = ::mmap(at, ChunkBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED;
  for (size_t done = 0; restored && done < ChunkBytes;) {
    const ssize_t n = ::pread(Fd, at + done, ChunkBytes - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    restored = n > 0;
    done += restored ? static_cast<size_t>(n) : 0;
  }
  if (!restored) Lost = true;
}

char* TTextStore::Append(size_t n) {
  if (Used + n > Reserved || Lost) throw std::bad_alloc();
  // Full chunks go to the file on a second thread while the next one fills.
  while (Filed < Used / ChunkBytes) {
    const uint64_t chunk = Filed++;
    if (Fd < 0 || FileFailed) continue;
    if (!Writer)
      Writer = std::make_unique<TWorker>();
    else
      Writer->Wait();
    Writer->Start([this, chunk] { FileChunk(chunk); });
  }
  while (Mapped < Used + n) {
    MapChunk(Mapped / ChunkBytes);
    Mapped += ChunkBytes;
  }
  char* at = Base + Used;
  const uint64_t chunk = Used / ChunkBytes;
  if (chunk != LastChunk.load(std::memory_order_relaxed) || (Used + n - 1) / ChunkBytes != chunk)
    Touch(chunk, Used + n);
  Used += n;
  return at;
}

void TTextStore::Touch(uint64_t chunk, uint64_t to) const {
  const uint64_t last = to > 0 ? std::max(chunk, (to - 1) / ChunkBytes) : chunk;
  std::lock_guard<std::mutex> hold(Lock);
  for (uint64_t c = chunk; c <= last; ++c) {
    auto it = std::find(Resident.begin(), Resident.end(), c);
    if (it != Resident.end()) Resident.erase(it);
    Resident.push_back(c);
  }
  while (Resident.size() > ResidentChunks) {
    const uint64_t old = Resident.front();
    Resident.erase(Resident.begin());
    // File pages leave this process's memory and are read back from the
    // file when needed; chunks in memory hold the only copy and stay.
    if (InFile[old].load()) ::madvise(Base + old * ChunkBytes, ChunkBytes, MADV_DONTNEED);
  }
  LastChunk.store(chunk, std::memory_order_relaxed);
}

void TStringList::push_back(std::string_view text) {
  const uint64_t from = Ends.empty() ? 0 : Ends.back();
  if (text.empty()) {
    Ends.push_back(from);
    return;
  }
  if (from + text.size() <= HeapLimit) {
    if (!Heap) Heap.reset(new char[HeapLimit]);
    std::memcpy(Heap.get() + from, text.data(), text.size());
    Ends.push_back(from + text.size());
    return;
  }
  if (!Store) {
    Store = TTextStore::Create();
    if (!Store) throw std::bad_alloc();
  }
  // The heap block's rest stays unused when the line does not fit in it.
  std::memcpy(Store->Append(text.size()), text.data(), text.size());
  Ends.push_back(HeapLimit + Store->Size());
}

void TStringList::clear() {
  Ends.clear();
  Ends.shrink_to_fit();
  Heap.reset();
  Store.reset();
  HeapLimit = HeapBytes;
}

} // namespace quorlin
