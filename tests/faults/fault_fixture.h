// Shared steps of the fault suite: searches the way the user starts them,
// actions inside a running scan, a check that the window still works, and
// snapshots of a folder's files to prove nothing was changed or lost.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "window_fixture.h"

namespace lexomir::testing {

// Every regular file under a folder with its content, keyed by the path
// relative to the folder; folders are listed with an empty content.
class FolderSnapshot {
  public:
    static FolderSnapshot of(const std::filesystem::path& root);
    // All but lookups.db and its journal, which the window writes whenever
    // it shows an entry; the session-writes test watches those.
    static FolderSnapshot withoutLookups(const std::filesystem::path& root);
    // Paths added, removed or with other content (or another kind) in after.
    static std::vector<std::string> changes(const FolderSnapshot& before,
                                            const FolderSnapshot& after);

  private:
    struct Entry {
        bool isFolder = false;
        std::string content;
        bool operator==(const Entry&) const = default;
    };
    std::map<std::string, Entry> m_entries;
};

// The window's message for a file it cannot read: 无法读取 <file>：<reason>.
QString cannotReadMessage(const std::filesystem::path& file, const std::string& utf8Reason);

class FaultTest : public WindowTest {
  protected:
    // A pinyin search for "guo" fills the grid with 国 and its entry shows on
    // a double click; an idiom search for "爱" shows 爱不释手. Both leave no
    // error behind.
    void expectBothPagesWork();
};

}  // namespace lexomir::testing
