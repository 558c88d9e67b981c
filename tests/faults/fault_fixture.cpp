#include "fault_fixture.h"

#include <QPushButton>

#include "result_grid.h"

namespace lexomir::testing {

QString cannotReadMessage(const std::filesystem::path& file, const std::string& utf8Reason) {
    return QString::fromUtf8("无法读取 " + file.string() + "：" + utf8Reason);
}

FolderSnapshot FolderSnapshot::of(const std::filesystem::path& root) {
    FolderSnapshot snapshot;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const std::string relative = std::filesystem::relative(it->path(), root).string();
        Entry entry;
        entry.isFolder = it->is_directory();
        if (!entry.isFolder) entry.content = readFileBytes(it->path());
        snapshot.m_entries[relative] = std::move(entry);
    }
    return snapshot;
}

FolderSnapshot FolderSnapshot::withoutLookups(const std::filesystem::path& root) {
    FolderSnapshot snapshot = of(root);
    std::erase_if(snapshot.m_entries, [](const auto& entry) {
        return std::filesystem::path(entry.first).filename().string().starts_with("lookups.db");
    });
    return snapshot;
}

std::vector<std::string> FolderSnapshot::changes(const FolderSnapshot& before,
                                                 const FolderSnapshot& after) {
    std::vector<std::string> changed;
    for (const auto& [path, entry] : before.m_entries) {
        const auto it = after.m_entries.find(path);
        if (it == after.m_entries.end() || !(it->second == entry)) changed.push_back(path);
    }
    for (const auto& [path, entry] : after.m_entries)
        if (!before.m_entries.contains(path)) changed.push_back(path);
    return changed;
}

void FaultTest::expectBothPagesWork() {
    const int errorsBefore = static_cast<int>(errors.size());
    typedSearch("guo");
    EXPECT_EQ(cell("GridXinHua", 0, 0), QString::fromUtf8("国"));
    doubleClickCell("GridXinHua", 0, 0);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：国(")))
        << memo("Memo1").toStdString();
    idiomSearch("爱");
    EXPECT_EQ(cell("GridChengYu", 0, 0), QString::fromUtf8("爱不释手"));
    EXPECT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：爱不释手(")))
        << memo("Memo2").toStdString();
    EXPECT_EQ(errors.size(), errorsBefore) << errors.join(QLatin1Char('\n')).toStdString();
}

}  // namespace lexomir::testing
