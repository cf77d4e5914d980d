#pragma once

#include <store/importrows.h>

class QWidget;

// "系统设定" → "导入旧数据…": brings the records kept in Jet database files into the books.
namespace admin {

// Asks for the folder (or a single file), shows what it holds, and imports the books the person
// ticks after OK; beforeChange runs before each book is changed (throwing leaves it alone).
// Then a summary with the counts. Acts on the files alone and notifies no window.
void importdata_Click(QWidget* parent, const store::BeforeChange& beforeChange = {});

} // namespace admin
