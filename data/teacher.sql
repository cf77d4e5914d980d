-- database/teacher.dat and its template teacher._: attendance entries and the lookup lists.
create table tabkaoqin (日期 text, 星期 text, 姓名 text, 考勤类别 text, 科目 text, 节数 text, 节次 text);
create table tabaddsort (考勤类别 text);
create table tabaddsubject (科目 text);
create table tabaddnumber (节次 text);
