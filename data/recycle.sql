-- database/recycle.dat: the recycle bin. Every record a delete command removes is kept here
-- first: the table it came from, when it was deleted, and its values as a JSON object keyed by
-- column name (a NULL stays null, an empty text stays "").
create table tabrecycle (tablename text, deleted_at text, record text);
