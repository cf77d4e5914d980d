-- database/cahier.dat and its template cahier._: the minutes of meetings.
create table tabcahier (theme text, time text, place text, recorder text, attendee text,
                        absent text, late text, evection text, content text);
