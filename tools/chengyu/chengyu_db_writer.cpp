// ChengYu.db: table ChengYu, one row per record of ChengYu.dat, id = record
// number, text in UTF-8. Built in a temporary file with a fixed page size,
// no journal and a final VACUUM, so the same rows give the same bytes.
#include "chengyu_builder.h"
#include "dictionary_tables.h"

namespace lexomir::chengyu {

void writeChengYuDb(const std::filesystem::path& file, const std::vector<IdiomRow>& rows) {
    namespace t = chengyu_table;
    constexpr data::ColumnDefinition kColumns[] = {
        {t::kId, "INTEGER PRIMARY KEY"}, {t::kChengYu, "TEXT NOT NULL"},
        {t::kPinYin, "TEXT NOT NULL"},   {t::kDianGu, "TEXT NOT NULL"},
        {t::kChuChu, "TEXT NOT NULL"},   {t::kLiZi, "TEXT NOT NULL"},
    };
    data::writeDatabaseReplacing(file, t::kName, kColumns, rows.size(),
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
