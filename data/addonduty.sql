-- database/addonduty.dat: the teachers' address book and the weekly duty rota.
create table tabaddlist (name text, sex text, mphone text, phone text, addcode text, qq text,
                         email text, address text, remark text);
create table tabonduty (周次 text, 值周教师 text, 备注 text);
