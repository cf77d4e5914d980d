-- uinfo.dat: the accounts that may log in, and the school's own details.
create table tabel1 (username text, password text);
insert into tabel1 values ('admin', 'admin');
create table tabel2 (schoolname text, phone text, address text, email text);
