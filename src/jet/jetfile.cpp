#include "jetfile.h"

#include "jetrows.h"

namespace jet {

store::SourceFile readJetFile(const QString& path) {
    store::SourceFile out;
    out.path = path;
    Pages pages;
    bool shortEnd = false;
    out.problem = pages.open(path, &shortEnd);
    if (!out.problem.isEmpty()) return out;
    if (shortEnd) out.problem = QStringLiteral("文件不完整（末尾缺了一部分），可能没有复制完");
    QVector<CatalogEntry> entries;
    QString why;
    if (!readCatalog(pages, &entries, &why)) {
        out.problem = why;
        return out;
    }
    for (const CatalogEntry& entry : entries) {
        store::SourceTable t;
        TableDef def;
        if (readTableDef(pages, entry.page, &def, &t.problem)) {
            t = readTableRows(pages, def);
            for (const Column& col : def.columns) t.columns << col.name;
        }
        t.name = entry.name;
        out.tables << t;
    }
    return out;
}

} // namespace jet
