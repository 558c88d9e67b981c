// lookups.db: what the user looked up, kept beside set.ini (see
// settings_location.h) so that the window and lexomir-cli share it.
//
// The file is a SQLite 3 database, text in UTF-8, PRAGMA user_version 1:
//
//   history(id INTEGER PRIMARY KEY,  -- larger is newer
//           kind TEXT NOT NULL,      -- 'character' or 'idiom'
//           record INTEGER NOT NULL, -- in XinHua.dat or ChengYu.dat
//           text TEXT NOT NULL, reading TEXT NOT NULL, brief TEXT NOT NULL)
//     every entry shown, at most kHistoryLimit rows, never the same entry in
//     two rows next to each other;
//   words(id INTEGER PRIMARY KEY,    -- order added
//         kind, record, text, reading, brief as above, UNIQUE (kind, text))
//     the word list (生词本).
//
// Each change is one transaction, so that a crash or a full disk leaves the
// file as it was before the change. The file is never a reason to stop: every
// failure becomes an error value, told once (takeError), and the call goes on
// with what it has. No exception leaves this class.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "looked_up_entry.h"
#include "sqlite_handles.h"

namespace lexomir {

struct StoreError {
    std::filesystem::path file;
    std::string reason;  // UTF-8: SQLite's message or ours
    // "<reason> (<file>)"
    std::string describe() const;
};

enum class StoreAccess {
    // Creates the file (not its folder) when it is missing. When the file
    // cannot be opened or is not a lookups file, the lists are kept in memory
    // for this run and the file is left alone.
    ReadWrite,
    // Never writes; a missing file reads as two empty lists.
    ReadOnly,
};

class LookupStore {
  public:
    static constexpr std::size_t kHistoryLimit = 500;
    // How long a change waits for another program's lock before it fails.
    static constexpr int kBusyMilliseconds = 300;

    LookupStore(std::filesystem::path file, StoreAccess access) noexcept;
    LookupStore(const LookupStore&) = delete;
    LookupStore& operator=(const LookupStore&) = delete;

    const std::filesystem::path& file() const noexcept { return m_file; }
    // False when the lists live in memory only (the file could not be used).
    bool keepsFile() const noexcept { return !m_inMemory; }
    // The first failure, once; nothing before it and ever after.
    std::optional<StoreError> takeError() noexcept;

    // Adds the entry as the newest of the history, unless it is the newest
    // already, and forgets the oldest beyond kHistoryLimit.
    void recordShown(const LookedUpEntry& entry) noexcept;
    // Newest first.
    std::vector<LookedUpEntry> history() noexcept;

    bool containsWord(const LookedUpEntry& entry) noexcept;
    void addWord(const LookedUpEntry& entry) noexcept;
    void removeWord(const LookedUpEntry& entry) noexcept;
    // Adds the entry, or removes it when it is listed: whether it is listed
    // now, or nothing when the change failed.
    std::optional<bool> toggleWord(const LookedUpEntry& entry) noexcept;
    // In the order added.
    std::vector<LookedUpEntry> words() noexcept;

  private:
    void open();
    void openInMemory() noexcept;
    // Runs a change or a read; a failure is kept as the error and false
    // returned.
    template <typename Body>
    bool attempt(Body&& body) noexcept;
    void keepError(std::string reason) noexcept;

    std::filesystem::path m_file;
    StoreAccess m_access;
    SqliteConnection m_db;  // null: nothing to read (a missing file, read-only)
    bool m_inMemory = false;
    std::optional<StoreError> m_error;
    bool m_errorTold = false;
};

}  // namespace lexomir
