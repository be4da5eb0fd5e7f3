#!/usr/bin/python3
"""The raw baselines of the benchmark: the database work of a timed work of
the program, done plainly from Python's sqlite3 module (statements prepared
once and reused by the module's cache, rows read as tuples).

    baselines.py workflow FOLDER    Process Workflows: the same per-contact SQL
    baselines.py leadfile FOLDER    the lead file: the same checks per line, batches of 250
    baselines.py startup FOLDER     start-up: copy the database, run the list query

FOLDER is a program folder (data2000.mdb in it). Prints one line
"BENCH_RESULT {json}" as brackenlead_bench does.
"""

import datetime as dt
import json
import os
import resource
import shutil
import sqlite3
import sys
import time

DATE = "%Y-%m-%d %H:%M:%S"


def connect(folder):
    return sqlite3.connect(os.path.join(folder, "data2000.mdb"))


def whole_minute(value):
    return value.replace(second=0, microsecond=0)


def workflow(folder):
    """Birthdays, then for every product each running contact: its last step,
    the next step, the due test on its start date and the outbox check."""
    db = connect(folder)
    counts = {"contacts": 0, "due": 0, "finished": 0, "postings": 0}
    db.execute("SELECT ID FROM Contacts").fetchone()
    now = dt.datetime.now()
    db.execute("SELECT EmailSubject, EmailMessage FROM emailformats WHERE FormatID = ?", ("Birthday",)).fetchone()
    birthdays = db.execute(
        "SELECT * FROM Contacts WHERE B_Day = ? AND B_Month = ? AND ID NOT IN "
        "(SELECT ContactID FROM Eventhistory WHERE Timeline_Step_Number = -1 "
        "AND ContactID IS NOT NULL) ORDER BY ID", (now.day, now.month)).fetchall()
    counts["postings"] += len(birthdays)
    products = [row[0] for row in db.execute("SELECT Product FROM Products ORDER BY Product") if row[0] is not None]
    for product in products:
        cursor = db.execute("SELECT * FROM Contacts WHERE Stop_Timeline_Action = 0 AND "
                            "Finished_Timeline_Execution = 0 AND Product = ? ORDER BY ID", (product,))
        names = [d[0] for d in cursor.description]
        start_column = names.index("Workflow_Start_Date")
        for contact in cursor.fetchall():
            counts["contacts"] += 1
            contact_id = contact[0]
            last = db.execute("SELECT Max(Timeline_Step_Number) FROM Eventhistory WHERE ContactID = ? AND "
                              "Event_Product = ? AND Timeline_Step_Number >= 0", (contact_id, product)).fetchone()[0]
            step_number = (last or 0) + 1
            step = db.execute("SELECT * FROM Events WHERE Product = ? AND EventID = ? ORDER BY ID",
                              (product, step_number)).fetchone()
            if step is None:
                db.execute("UPDATE Contacts SET Finished_Timeline_Execution = 1 WHERE ID = ?", (contact_id,))
                db.commit()
                counts["finished"] += 1
                continue
            try:
                start = dt.datetime.strptime(contact[start_column], DATE)
            except (TypeError, ValueError):
                continue
            moment = now - dt.timedelta(days=step[4] or 0) - dt.timedelta(hours=step[5] or 0)
            if whole_minute(start) > whole_minute(moment):
                continue
            counts["due"] += 1
            if db.execute("SELECT ID FROM Outbox WHERE Out_Contact_ID = ? AND Out_Timeline_Event_Number = ? AND "
                          "Product_Name = ?", (contact_id, step_number, product)).fetchone() is not None:
                continue
            counts["postings"] += 1
    db.close()
    return counts


def split_line(line):
    fields = []
    for field in line.split(","):
        if field.startswith(" "):
            field = field[1:]
        if field.startswith('"'):
            field = field[1:]
            if field.endswith('"'):
                field = field[:-1]
        fields.append(field)
    return fields


INSERT = ("INSERT INTO Contacts (FirstName, MiddleInitial, LastName, Address, City, State, Zipcode, Email, "
          "Homephone, Workphone, Cellphone, Company, Product, Contact_Title, Contact_Relationship, Referred_By, "
          "Best_Time_To_Contact, Year, Make, Model, Interior_Color, Exterior_Color, Transmission, "
          "Size_Of_Engine, Number_Of_Doors, Number_Of_Cylinders, Options, B_Day, B_Month, B_Year, Import_Source, "
          "Contact_Received_Date, Workflow_Start_Date, New_Contact) VALUES (" + ", ".join("?" * 34) + ")")


def leadfile(folder):
    """Every line of the source's file: the junk check, the two duplicate
    checks (the four names, the address), then the new contact; a commit
    every 250 lines."""
    db = connect(folder)
    db.isolation_level = None
    source = db.execute("SELECT Name_Of_Site, Path_For_File FROM ContactSources WHERE Automatically_Import = 1 "
                        "ORDER BY ID").fetchone()
    name, path = source
    with open(path, "rb") as data:
        text = data.read().decode("utf-8")
    counts = {"lines": 0, "discarded": 0, "new_contacts": 0}
    in_batch = 0
    db.execute("BEGIN")
    for line in text.split("\r\n"):
        if not line.strip():
            continue
        f = split_line(line)
        f += [""] * (28 - len(f))
        counts["lines"] += 1
        first, middle, last, email = f[0], f[1], f[2], f[7]
        duplicate = (
            (email and db.execute("SELECT ID FROM JunkEmails WHERE Email = ? LIMIT 1", (email,)).fetchone())
            or db.execute("SELECT ID FROM Contacts WHERE FirstName = ? AND MiddleInitial = ? AND LastName = ? "
                          "AND Email = ? LIMIT 1", (first, middle, last, email)).fetchone()
            or (email and db.execute("SELECT ID FROM Contacts WHERE Email = ? LIMIT 1", (email,)).fetchone()))
        if duplicate:
            counts["discarded"] += 1
        else:
            day = month = year = 0
            if f[11]:
                try:
                    born = dt.datetime.strptime(f[11], "%m/%d/%Y")
                    day, month, year = born.day, born.month, born.year
                except ValueError:
                    pass
            now = dt.datetime.now().strftime(DATE)
            values = [f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[12], f[13], f[14],
                      f[15], f[16], f[17], f[18], f[19], f[20], f[21], f[22], f[23], f[24], f[25], f[26], f[27],
                      day, month, year, name, now, now, 1]
            db.execute(INSERT, values)
            counts["new_contacts"] += 1
        in_batch += 1
        if in_batch >= 250:
            db.execute("COMMIT")
            db.execute("BEGIN")
            in_batch = 0
    db.execute("COMMIT")
    db.close()
    return counts


def startup(folder):
    """The start-up's backup copy of the database, then the contact list query."""
    database = os.path.join(folder, "data2000.mdb")
    shutil.copyfile(database, os.path.join(folder, "databackup.mdb"))
    db = sqlite3.connect(database)
    rows = db.execute(
        "SELECT Contacts.FirstName, Contacts.LastName, Contacts.Product, Contacts.Contact_Relationship, "
        "Contacts.Contact_Title, Contacts.Email, Contacts.MiddleInitial, Contacts.ID, "
        "Contacts.Pending_Events_To_Read, Contacts.New_Contact FROM Contacts ORDER BY Contacts.LastName").fetchall()
    db.close()
    return {"listed": len(rows)}


def main():
    works = {"workflow": workflow, "leadfile": leadfile, "startup": startup}
    if len(sys.argv) != 3 or sys.argv[1] not in works:
        sys.exit(__doc__)
    work, folder = sys.argv[1], sys.argv[2]
    begin = time.perf_counter()
    extra = works[work](folder)
    seconds = time.perf_counter() - begin
    result = {"work": work, "seconds": seconds, "peak_kib": resource.getrusage(resource.RUSAGE_SELF).ru_maxrss,
              "extra": extra, "error": ""}
    print("BENCH_RESULT " + json.dumps(result), flush=True)


if __name__ == "__main__":
    main()
