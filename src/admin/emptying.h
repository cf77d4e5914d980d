#pragma once

class QWidget;

// The commands of the "系统设定" menu that empty one record book each, after a confirmation.
// They act on the files alone and notify no window.
namespace admin {

void cleanaddlist_Click(QWidget* parent);
void cleanonduty_Click(QWidget* parent);
void cleancahier_Click(QWidget* parent);
void cleannote_Click(QWidget* parent);
void cleanteacher_Click(QWidget* parent);

} // namespace admin
