-- database/snote.dat and its template snote._: the chronicle of school events.
create table tabnote (theme text, time text, recorder text, remark text, content text);
