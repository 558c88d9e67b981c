// ChengYu.db: table ChengYu, one row per record of ChengYu.dat, id = record
// number, text in UTF-8. Built in a temporary file with a fixed page size,
// no journal and a final VACUUM, so the same rows give the same bytes.
#include "chengyu_builder.h"

namespace lexomir::chengyu {

void writeChengYuDb(const std::filesystem::path& file, const std::vector<IdiomRow>& rows) {
    data::writeDatabaseReplacing(
        file,
        "CREATE TABLE ChengYu (id INTEGER PRIMARY KEY, ChengYu TEXT NOT NULL, "
        "PinYin TEXT NOT NULL, DianGu TEXT NOT NULL, ChuChu TEXT NOT NULL, LiZi TEXT NOT NULL)",
        "INSERT INTO ChengYu VALUES (?, ?, ?, ?, ?, ?)", rows.size(),
        [&](data::RowBinder& binder, std::size_t i) {
            const IdiomRow& row = rows[i];
            binder.integer(1, static_cast<std::int64_t>(i + 1));
            binder.text(2, row.chengYu);
            binder.text(3, row.pinYin);
            binder.text(4, row.dianGu);
            binder.text(5, row.chuChu);
            binder.text(6, row.liZi);
        });
}

}  // namespace lexomir::chengyu
