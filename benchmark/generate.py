#!/usr/bin/python3
"""Makes the benchmark's data with a fixed seed: a dealership's database of
100,000 contacts and 300,000 events, a Maildir of 10,000 messages and a lead
file of 100,000 lines.

    generate.py EMPTY_DATABASE OUT_FOLDER

EMPTY_DATABASE is the empty data2000.mdb the build makes from the schema.
OUT_FOLDER receives data2000.mdb, Maildir/, Maildir-empty/, leads.csv and
manifest.json (the counts the generator made, for the runs to check against).

Dates are laid relative to the moment of generation, so that every running
contact's next workflow step is not yet due (a few are due, but their step
waits in the outbox already): Process Workflows posts nothing.
"""

import base64
import datetime as dt
import json
import os
import random
import shutil
import sqlite3
import sys
from email.message import EmailMessage
from email.utils import format_datetime, make_msgid

SEED = 20240611
CONTACTS = 100_000
EVENTS = 300_000
MESSAGES = 10_000
LEAD_LINES = 100_000
DATE = "%Y-%m-%d %H:%M:%S"
CRLF = "\r\n"

FIRST_NAMES = """James Mary Robert Patricia John Jennifer Michael Linda David Elizabeth William Barbara
Richard Susan Joseph Jessica Thomas Sarah Christopher Karen Charles Lisa Daniel Nancy Matthew Betty
Anthony Sandra Mark Margaret Donald Ashley Steven Kimberly Andrew Emily Paul Donna Joshua Michelle
Kenneth Carol Kevin Amanda Brian Melissa George Deborah Timothy Stephanie Ronald Dorothy Jason Rebecca
Edward Sharon Jeffrey Laura Ryan Cynthia Jacob Amy Gary Kathleen Nicholas Angela Eric Shirley Jonathan
Brenda Stephen Emma Larry Anna Justin Pamela Scott Nicole Brandon Samantha Benjamin Katherine Samuel
Christine Gregory Helen Alexander Debra Patrick Rachel Frank Carolyn Raymond Janet Jack Maria Dennis
Catherine Jerry Heather Tyler Diane Aaron Olivia Jose Julie Adam Joyce Nathan Victoria Henry Ruth
Zachary Virginia Douglas Lauren Peter Kelly Kyle Christina Noah Joan Ethan Evelyn Jeremy Judith Walter
Andrea Christian Hannah Keith Megan Roger Cheryl Terry Jacqueline Austin Martha Sean Madison Gerald
Teresa Carl Gloria Harold Sara Dylan Janice Arthur Ann Lawrence Kathryn Jordan Abigail Jesse Sophia
Bryan Frances Billy Jean Bruce Alice Gabriel Judy Joe Isabella Logan Julia Alan Grace Juan Amber
Albert Denise Willie Danielle Elijah Marilyn Wayne Beverly Randy Charlotte Vincent Natalie Mason
Theresa Roy Diana Ralph Brittany Bobby Doris Russell Kayla Bradley Alexis Philip Lori Eugene Marie
José Zoë Renée André Björn Chloé Łukasz Mónica""".split()
LAST_NAMES = """Smith Johnson Williams Brown Jones Garcia Miller Davis Rodriguez Martinez Hernandez Lopez
Gonzalez Wilson Anderson Thomas Taylor Moore Jackson Martin Lee Perez Thompson White Harris Sanchez
Clark Ramirez Lewis Robinson Walker Young Allen King Wright Scott Torres Nguyen Hill Flores Green
Adams Nelson Baker Hall Rivera Campbell Mitchell Carter Roberts Gomez Phillips Evans Turner Diaz
Parker Cruz Edwards Collins Reyes Stewart Morris Morales Murphy Cook Rogers Gutierrez Ortiz Morgan
Cooper Peterson Bailey Reed Kelly Howard Ramos Kim Cox Ward Richardson Watson Brooks Chavez Wood
James Bennett Gray Mendoza Ruiz Hughes Price Alvarez Castillo Sanders Patel Myers Long Ross Foster
Jimenez Powell Jenkins Perry Russell Sullivan Bell Coleman Butler Henderson Barnes Gonzales Fisher
Vasquez Simmons Romero Jordan Patterson Alexander Hamilton Graham Reynolds Griffin Wallace Moreno
West Cole Hayes Bryant Herrera Gibson Ellis Tran Medina Aguilar Stevens Murray Ford Castro Marshall
Owens Harrison Fernandez McDonald Woods Washington Kennedy Wells Vargas Henry Chen Freeman Webb
Tucker Guzman Burns Crawford Olson Simpson Porter Hunter Gordon Mendez Silva Shaw Snyder Mason Dixon
Munoz Hunt Hicks Holmes Palmer Wagner Black Robertson Boyd Rose Stone Salazar Fox Warren Mills Meyer
Rice Schmidt Garza Daniels Ferguson Nichols Stephens Soto Weaver Ryan Gardner Payne Grant Dunn Kelley
Spencer Hawkins Arnold Pierce Vazquez Hansen Peters Santos Hart Bradley Knight Elliott Cunningham
Duncan Armstrong Hudson Carroll Lane Riley Andrews Alvarado Ray Delgado Berry Perkins Hoffman Johnston
Matthews Peña Richards Willis Carpenter Lawrence Sandoval O'Brien Müller Døssing""".split()
CITIES = [
    ("Springfield", "IL", "627"), ("Columbus", "OH", "432"), ("Austin", "TX", "787"),
    ("Denver", "CO", "802"), ("Nashville", "TN", "372"), ("Portland", "OR", "972"),
    ("Madison", "WI", "537"), ("Raleigh", "NC", "276"), ("Tucson", "AZ", "857"),
    ("Omaha", "NE", "681"), ("Boise", "ID", "837"), ("Richmond", "VA", "232"),
    ("Albany", "NY", "122"), ("Sacramento", "CA", "958"), ("Tampa", "FL", "336"),
    ("Savannah", "GA", "314"), ("Louisville", "KY", "402"), ("Des Moines", "IA", "503"),
    ("Wichita", "KS", "672"), ("Tulsa", "OK", "741"), ("Reno", "NV", "895"),
    ("Spokane", "WA", "992"), ("Fresno", "CA", "937"), ("Lansing", "MI", "489"),
    ("Akron", "OH", "443"), ("Dayton", "OH", "454"), ("Fort Wayne", "IN", "468"),
    ("Knoxville", "TN", "379"), ("Lexington", "KY", "405"), ("Chattanooga", "TN", "374"),
    ("Greenville", "SC", "296"), ("Mobile", "AL", "366"), ("Little Rock", "AR", "722"),
    ("Baton Rouge", "LA", "708"), ("Jackson", "MS", "392"), ("Salem", "OR", "973"),
    ("Provo", "UT", "846"), ("Billings", "MT", "591"), ("Fargo", "ND", "581"),
    ("Sioux Falls", "SD", "571"), ("Burlington", "VT", "054"), ("Manchester", "NH", "031"),
]
STREETS = """Main Oak Pine Maple Cedar Elm Washington Lake Hill Park Walnut Spruce Ridge Church Sunset
Highland Jefferson Lincoln Madison Franklin Cherry Willow Meadow Forest River Spring Dogwood Chestnut
Hickory Lakeview Mill Valley Center North South Jackson Adams Wilson Grant Sycamore""".split()
STREET_KINDS = ["St", "Ave", "Rd", "Dr", "Ln", "Ct", "Blvd", "Way", "Pl", "Cir"]
DOMAINS = [("gmail.com", 30), ("yahoo.com", 16), ("hotmail.com", 10), ("aol.com", 6),
           ("comcast.net", 6), ("outlook.com", 6), ("icloud.com", 4), ("msn.com", 3),
           ("sbcglobal.net", 3), ("verizon.net", 3), ("att.net", 3), ("cox.net", 2),
           ("charter.net", 2), ("earthlink.net", 1), ("bellsouth.net", 2), ("mac.com", 1)]
COMPANIES = ["Acme Supply", "Northwind Traders", "Blue Ridge Builders", "Summit Dental",
             "Riverside Logistics", "Harbor Freight Lines", "Pioneer Insurance", "Oak Valley Farms",
             "Cornerstone Realty", "Bright Path Schools", "Metro Plumbing", "Green Leaf Landscaping",
             "First Street Bank", "Tri-County Electric", "Lakeside Medical Group", "Apex Roofing",
             "Silver Line Transit", "Keystone Accounting", "Redwood Software", "Eagle Security"]
PRODUCTS = [  # name, part number, price, steps, weight of contacts
    ("New Vehicle Sales", "NV-100", 28500.0, 10, 30),
    ("Used Vehicle Sales", "UV-200", 14900.0, 9, 22),
    ("Certified Pre-Owned", "CP-250", 21900.0, 8, 8),
    ("Service Reminder", "SV-300", 89.0, 6, 12),
    ("Lease Return", "LR-400", 0.0, 7, 5),
    ("Finance Pre-Approval", "FN-500", 0.0, 5, 5),
    ("Trade-In Appraisal", "TI-600", 0.0, 5, 4),
    ("Extended Warranty", "EW-700", 1895.0, 6, 3),
    ("Fleet Sales", "FL-800", 0.0, 8, 2),
    ("Body Shop", "BS-900", 0.0, 4, 2),
    ("Parts Counter", "PC-950", 0.0, 4, 1),
    ("Accessories", "AC-990", 249.0, 0, 1),  # a product without steps
]
UNLISTED_PRODUCTS = ["Motorcycles", "RV Sales"]  # on contacts, not in the catalog
STEP_DAYS = [0, 1, 3, 7, 14, 21, 30, 45, 60, 90]
STEP_HOURS = [0, 2, 0, 0, 4, 0, 0, 0, 0, 0]
MAKES = [("Ford", ["F-150", "Escape", "Explorer", "Mustang", "Edge", "Focus"]),
         ("Chevrolet", ["Silverado", "Equinox", "Malibu", "Tahoe", "Traverse"]),
         ("Toyota", ["Camry", "Corolla", "RAV4", "Highlander", "Tacoma"]),
         ("Honda", ["Accord", "Civic", "CR-V", "Pilot", "Odyssey"]),
         ("Nissan", ["Altima", "Rogue", "Sentra", "Pathfinder"]),
         ("Jeep", ["Wrangler", "Grand Cherokee", "Cherokee", "Compass"]),
         ("Dodge", ["Ram", "Charger", "Durango", "Journey"])]
COLORS = ["Black", "White", "Silver", "Gray", "Red", "Blue", "Green", "Beige", "Brown", "Maroon"]
TITLES = ["Mr.", "Mrs.", "Ms.", "Dr.", "Miss", "Prof.", "Rev.", "Hon."]
RELATIONSHIPS = ["Prospect", "Customer", "Repeat Customer", "Referral", "Fleet Manager",
                 "Service Customer", "Friend", "Vendor", "Hot Lead", "Cold Lead"]
BEST_TIMES = ["Morning", "Afternoon", "Evening", "Weekends", "Anytime", "After 5pm", "Lunch"]
LEAD_SITES = [  # name, subject search text, kind of its rules
    ("AutoLeads Direct", "AutoLeads Direct Lead", "label"),
    ("CarsNow", "CarsNow Customer Inquiry", "line"),
    ("DealerConnect", "Internet Lead -", "label2"),
]
INVALID_SUBJECTS = ["Website Contact Form", "Fwd: Customer referral"]
DEALER = ("Mike Carter", "mike.carter@riversidemotors.example")

SENTENCES = [
    "Thank you for your interest in our dealership.",
    "I wanted to follow up on the vehicle you looked at last week.",
    "We have several models in stock that match what you described.",
    "Our service department is open Monday through Saturday from 7am to 6pm.",
    "Please let me know a good time to give you a call.",
    "The manufacturer is offering 0.9% financing for qualified buyers this month.",
    "Your trade-in could be worth more than you think right now.",
    "I have attached the brochure you asked for.",
    "We can arrange a test drive at your convenience, including evenings.",
    "If you have any questions about the warranty, just reply to this e-mail.",
    "Our lot has over 300 new and used vehicles to choose from.",
    "I spoke with our finance manager and we can get you pre-approved today.",
    "It was a pleasure meeting you at the showroom on Saturday.",
    "The extended warranty covers the powertrain for seven years or 100,000 miles.",
    "Your vehicle is due for its 30,000 mile service.",
    "We received your inquiry and a sales consultant will contact you shortly.",
    "Could you tell me which trim level and color you prefer?",
    "I checked with the manager and we can hold the price until the end of the week.",
    "Please bring your registration and proof of insurance to the appointment.",
    "Thanks again, and have a great weekend.",
    "The oil change special is $29.95 through the end of the month.",
    "We just got a shipment of the 2024 models in, and they are going fast.",
]
REPLIES = [
    "Thanks for getting back to me so quickly.",
    "I am still interested but need to talk it over with my wife first.",
    "Can you send me the out-the-door price with tax and fees?",
    "What is the best price you can do on the silver one?",
    "I can come in Thursday after work, around 5:30.",
    "Please take me off your list, we already bought a car.",
    "Is the blue one still available? I saw it on your website.",
    "My credit is not great, will that be a problem?",
    "We would like to trade in our 2012 minivan.",
    "Does the price include the winter package?",
    "I will be out of town until next Monday.",
    "Sounds good, see you then.",
]


class Generator:
    def __init__(self, out):
        self.rng = random.Random(SEED)
        self.out = out
        self.now = dt.datetime.now().replace(microsecond=0)
        self.first_weights = [1.0 / (i + 4) for i in range(len(FIRST_NAMES))]
        self.last_weights = [1.0 / (i + 3) for i in range(len(LAST_NAMES))]
        self.domain_names = [d for d, _ in DOMAINS]
        self.domain_weights = [w for _, w in DOMAINS]
        self.email_counter = 0
        self.unique_counter = 0
        self.manifest = {}

    # ---- small pieces ---------------------------------------------------------
    def first(self):
        return self.rng.choices(FIRST_NAMES, self.first_weights)[0]

    def last(self):
        return self.rng.choices(LAST_NAMES, self.last_weights)[0]

    def email_for(self, first, last):
        self.email_counter += 1
        local = self.rng.choice([
            f"{first}.{last}", f"{first[0]}{last}", f"{first}{last[0]}", f"{first}_{last}",
            f"{last}.{first}", f"{first}{self.rng.randint(1, 99)}"])
        local = "".join(c for c in local.lower() if c.isascii() and (c.isalnum() or c in "._"))
        domain = self.rng.choices(self.domain_names, self.domain_weights)[0]
        return f"{local}{self.email_counter}@{domain}"

    def phone(self):
        return f"({self.rng.randint(201, 989)}) {self.rng.randint(200, 999)}-{self.rng.randint(0, 9999):04d}"

    def address(self):
        return f"{self.rng.randint(1, 9999)} {self.rng.choice(STREETS)} {self.rng.choice(STREET_KINDS)}"

    def city(self):
        city, state, zip3 = self.rng.choice(CITIES)
        return city, state, f"{zip3}{self.rng.randint(0, 99):02d}"

    def vehicle(self):
        make, models = self.rng.choice(MAKES)
        return str(self.rng.randint(2008, 2024)), make, self.rng.choice(models)

    def text(self, pool, low, high):
        count = self.rng.randint(low, high)
        return " ".join(self.rng.choice(pool) for _ in range(count))

    def letter(self, first, low=2, high=8):
        paragraphs = [f"Dear {first},"]
        for _ in range(self.rng.randint(1, 3)):
            paragraphs.append(self.text(SENTENCES, low, high))
        paragraphs.append(f"Best regards,{CRLF}{DEALER[0]}{CRLF}Riverside Motors{CRLF}(555) 010-2000")
        return (CRLF + CRLF).join(paragraphs)

    def unique_name(self, when):
        """A Maildir unique name as a delivery agent makes it."""
        self.unique_counter += 1
        return (f"{int(when.timestamp())}.M{self.rng.randint(0, 999999)}P{self.rng.randint(1000, 99999)}"
                f"Q{self.unique_counter}.mail.riversidemotors.example")

    def stored(self, when):
        return when.strftime(DATE)

    # ---- the database -----------------------------------------------------------
    def database(self, empty_database):
        path = os.path.join(self.out, "data2000.mdb")
        shutil.copyfile(empty_database, path)
        db = sqlite3.connect(path)
        db.execute("PRAGMA journal_mode=OFF")
        db.execute("PRAGMA synchronous=OFF")
        self.catalog(db)
        contacts = self.contacts(db)
        self.events(db, contacts)
        self.other_rows(db)
        db.commit()
        db.execute("ANALYZE")
        db.commit()
        db.close()
        self.contacts_list = contacts

    def catalog(self, db):
        self.steps = {}
        for order, (name, part, price, steps, _) in enumerate(PRODUCTS):
            db.execute("INSERT INTO Products (Product, Part_Number, Description, Price, Selected, \"Order\") "
                       "VALUES (?, ?, ?, ?, 'No', ?)", (name, part, f"{name} package", price, order))
            self.steps[name] = []
            for number in range(1, steps + 1):
                action = "Call Out" if number % 4 == 0 else ("To Do" if number == steps else "Email Out")
                days, hours = STEP_DAYS[number - 1], STEP_HOURS[number - 1]
                subject = self.rng.choice([
                    "Following up on your [Product] inquiry, [Firstname]",
                    "[Firstname], your [Product] quote is ready",
                    "A quick question about your [Product] plans",
                    "Still looking, [Firstname]?",
                    "Special offer for [Firstname] [Lastname]"])
                message = (f"Dear [Firstname],{CRLF}{CRLF}" + self.text(SENTENCES, 3, 7)
                           + f"{CRLF}{CRLF}You first contacted us on [Contact_Received_Date] from [City], [State]."
                           + f"{CRLF}{CRLF}Best regards,{CRLF}{DEALER[0]}")
                db.execute("INSERT INTO Events (Product, EventID, Event_Action, DaysAfterInitialContact, "
                           "AdditionalHoursToAdd, Subject, Message, SenderEmail, SenderEmailName) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                           (name, number, action, days, hours, subject, message, DEALER[1], DEALER[0]))
                self.steps[name].append((days, hours, action))
        for title in TITLES:
            db.execute("INSERT INTO Titles (Contact_Title) VALUES (?)", (title,))
        for relation in RELATIONSHIPS:
            db.execute("INSERT INTO Relationships (Relation_Data) VALUES (?)", (relation,))
        for i in range(10):
            db.execute("INSERT INTO emailformats (FormatID, EmailSubject, EmailMessage) VALUES (?, ?, ?)",
                       (f"Template {i + 1}", f"About your [Product], [Firstname]",
                        "Dear [Firstname]," + CRLF + CRLF + self.text(SENTENCES, 3, 6)))
        db.execute("UPDATE Settings SET DefaultEmailName = ?, DefaultEmailAddress = ?, DefaultContactName = ?, "
                   "Owner_Firstname = 'Mike', Owner_Lastname = 'Carter', Owner_Address = '100 Auto Mall Dr', "
                   "Owner_City = 'Springfield', Owner_State = 'IL', Owner_Zip = '62704', "
                   "Owner_Phone = '(555) 010-2000', Automatically_Send_Emails = 0, "
                   "AutoSend_Birthdate_Emails = 1, Delete_Remote_Email = 0, Check_For_Junk_Emails = 0, "
                   "Check_For_Bad_Names = 0, Compression_Counter = 0, Backup_Dir = '', "
                   "Email_Check_Time = '5'",
                   (DEALER[0], DEALER[1], "Valued Customer"))

    def contacts(self, db):
        """Returns per contact (id, first, middle, last, email, product, state, steps done, start)."""
        rng = self.rng
        product_names = [p[0] for p in PRODUCTS] + UNLISTED_PRODUCTS + [""]
        product_weights = [p[4] for p in PRODUCTS] + [1, 1, 3]
        today = self.now.date()
        soon = {(today.day, today.month),
                ((today + dt.timedelta(days=1)).day, (today + dt.timedelta(days=1)).month)}
        rows, contacts = [], []
        due_waiting = 0
        for cid in range(1, CONTACTS + 1):
            first, last = self.first(), self.last()
            middle = rng.choice("ABCDEFGHJKLMNPRSTW") if rng.random() < 0.4 else ""
            email = self.email_for(first, last) if rng.random() > 0.01 else ""
            city, state, zipcode = self.city()
            product = rng.choices(product_names, product_weights)[0]
            steps = self.steps.get(product, [])
            roll = rng.random()
            stop = finished = 0
            done = 0
            due = False
            if product not in self.steps:
                kind = "none"
                start = self.now - dt.timedelta(days=rng.uniform(1, 1800))
            elif not steps:
                # A product without steps: the first run marked its contacts finished.
                kind, finished = "finished", 1
                start = self.now - dt.timedelta(days=rng.uniform(1, 1800))
            elif roll < 0.07:
                kind, stop = "stopped", 1
                done = rng.randint(1, min(3, len(steps)))
                start = self.now - dt.timedelta(days=STEP_DAYS[done - 1] + rng.uniform(1, 900))
            elif roll < 0.32:
                kind, finished = "finished", 1
                done = min(len(steps), rng.randint(2, 4))
                start = self.now - dt.timedelta(days=STEP_DAYS[len(steps) - 1] + rng.uniform(1, 1500))
            else:
                kind = "running"
                # Early steps are where most running contacts stand.
                done = min(len(steps) - 1, int(rng.paretovariate(2.0)))
                lo = STEP_DAYS[done - 1] * 24 + STEP_HOURS[done - 1] + 1
                hi = STEP_DAYS[done] * 24 + STEP_HOURS[done] - 1
                if rng.random() < 0.003:
                    # Due, but the step waits in the outbox already.
                    due = True
                    due_waiting += 1
                    start = self.now - dt.timedelta(hours=hi + rng.uniform(2, 48))
                else:
                    start = self.now - dt.timedelta(hours=rng.uniform(lo, hi))
            start = start.replace(microsecond=0)
            received = start - dt.timedelta(minutes=rng.randint(0, 600))
            has_birthday = rng.random() < 0.7
            b_day = rng.randint(1, 28) if has_birthday else None
            b_month = rng.randint(1, 12) if has_birthday else None
            b_year = rng.randint(1940, 2004) if has_birthday else None
            year, make, model = self.vehicle() if rng.random() < 0.6 else ("", "", "")
            bought = (start + dt.timedelta(days=rng.randint(3, 60))).strftime(DATE) if kind == "finished" and rng.random() < 0.5 else None
            rows.append((
                cid, first, middle, last, self.address(), city, state, zipcode, email,
                self.phone() if rng.random() < 0.8 else "", self.phone() if rng.random() < 0.3 else "",
                self.phone() if rng.random() < 0.6 else "", b_day, b_month, b_year,
                rng.choice(COMPANIES) if rng.random() < 0.3 else "", product,
                rng.choice(LEAD_SITES)[0] if rng.random() < 0.6 else "Walk-in",
                self.stored(received), self.stored(start),
                rng.choice(TITLES) if rng.random() < 0.5 else "", rng.choice(RELATIONSHIPS),
                f"{self.first()} {self.last()}" if rng.random() < 0.1 else "", rng.choice(BEST_TIMES),
                year, make, model, rng.choice(COLORS) if year else "", rng.choice(COLORS) if year else "",
                rng.choice(["Automatic", "Manual", "CVT"]) if year else "",
                rng.choice(["2.0L", "2.5L", "3.5L", "5.0L", "5.7L"]) if year else "",
                rng.choice(["2", "4"]) if year else "", rng.choice(["4", "6", "8"]) if year else "",
                "Sunroof, Leather" if year and rng.random() < 0.3 else "",
                self.text(REPLIES, 1, 3) if rng.random() < 0.3 else "",
                1 if rng.random() < 0.04 else 0, 1 if rng.random() < 0.08 else 0, stop, finished, bought))
            birthday_sent = has_birthday and ((b_day, b_month) in soon or rng.random() < 0.15)
            contacts.append((cid, first, middle, last, email, product, kind, done, start, due, birthday_sent))
        db.executemany("INSERT INTO Contacts (ID, FirstName, MiddleInitial, LastName, Address, City, State, "
                       "Zipcode, Email, Homephone, Workphone, Cellphone, B_Day, B_Month, B_Year, Company, "
                       "Product, Import_Source, Contact_Received_Date, Workflow_Start_Date, Contact_Title, "
                       "Contact_Relationship, Referred_By, Best_Time_To_Contact, Year, Make, Model, "
                       "Interior_Color, Exterior_Color, Transmission, Size_Of_Engine, Number_Of_Doors, "
                       "Number_Of_Cylinders, Options, Notes, New_Contact, Pending_Events_To_Read, "
                       "Stop_Timeline_Action, Finished_Timeline_Execution, Date_Product_Bought) "
                       "VALUES (" + ", ".join("?" * 40) + ")", rows)
        self.manifest["contacts"] = CONTACTS
        self.manifest["running_due_waiting"] = due_waiting
        self.manifest["running"] = sum(1 for c in contacts if c[6] == "running")
        return contacts

    def events(self, db, contacts):
        rng = self.rng
        rows = []
        outbox = []

        def add(cid, when, product, kind, step, sender, subject, message, read, unique, mail_date):
            rows.append((cid, self.stored(when), product, kind, step, sender, subject, message, read,
                         mail_date, unique, 0))

        for cid, first, middle, last, email, product, kind, done, start, due, birthday_sent in contacts:
            steps = self.steps.get(product, [])
            if rng.random() < 0.25:
                when = start - dt.timedelta(minutes=rng.randint(1, 300))
                site = rng.choice(LEAD_SITES)[0]
                add(cid, when, product, "Email Entry", 0, site, f"{site} lead: {first} {last}",
                    self.lead_text(first, last, email, product), 1, self.unique_name(when), self.stored(when))
            for number in range(1, done + 1):
                days, hours, action = steps[number - 1]
                when = start + dt.timedelta(days=days, hours=hours, minutes=rng.randint(0, 90))
                unique = str(int(when.timestamp() * 1000) * 1000000 + rng.randint(0, 999999))
                add(cid, when, product, action, number, DEALER[1], f"Following up on your {product} inquiry",
                    self.letter(first), 1, unique, self.stored(when))
            if due:
                number = done + 1
                days, hours, action = steps[number - 1]
                when = start + dt.timedelta(days=days, hours=hours)
                outbox.append((cid, product, action, number, email, f"{first} {last}",
                               f"Following up on your {product} inquiry", self.letter(first), DEALER[1],
                               DEALER[0], self.stored(when), self.stored(when), 0))
            if birthday_sent:
                when = self.now - dt.timedelta(days=rng.randint(1, 700))
                add(cid, when, product, "Email Out", -1, DEALER[1], f"Happy Birthday, {first}!",
                    f"Dear {first},{CRLF}{CRLF}Happy birthday!", 1, str(rng.getrandbits(60)), self.stored(when))
        workflow = len(rows)
        # Cut, the history would miss steps and those contacts would be due.
        assert workflow <= EVENTS, f"{workflow} workflow events leave no room"
        # The rest: mail from contacts and calls, spread over the contacts.
        while len(rows) < EVENTS:
            cid, first, middle, last, email, product, kind, done, start, due, _ = rng.choice(contacts)
            when = start + dt.timedelta(days=rng.uniform(0, 200))
            if rng.random() < 0.7:
                add(cid, when, product, "Email In", 0, email, "Re: " + rng.choice(
                    ["Your inquiry", "Test drive", "Price quote", "Trade-in value", "Service appointment"]),
                    self.text(REPLIES, 1, 4) + CRLF + CRLF + "> " + self.text(SENTENCES, 2, 5),
                    rng.random() < 0.9, self.unique_name(when), self.stored(when))
            else:
                add(cid, when, product, rng.choice(["Call In", "Call Out", "Walk In"]), 0, "",
                    rng.choice(["Called about pricing", "Left voicemail", "Asked for brochure",
                                "Scheduled test drive"]), self.text(REPLIES, 1, 2), 1,
                    str(rng.getrandbits(60)), None)
        rows.sort(key=lambda r: r[1])
        db.executemany("INSERT INTO Eventhistory (ContactID, EventDate, Event_Product, Event_Type, "
                       "Timeline_Step_Number, Sender, EventSubject, EventMessage, EventRead, Email_ID_Date, "
                       "Event_Unique_ID, Has_Attachments) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", rows)
        # Other waiting entries: scheduled e-mails, calls and to-dos of the user's own.
        for _ in range(1500):
            cid, first, middle, last, email, product, *_ = rng.choice(contacts)
            when = self.now + dt.timedelta(days=rng.uniform(1, 60))
            outbox.append((cid, product, rng.choice(["Email Out", "Call Out", "To Do"]), 0, email,
                           f"{first} {last}", "Checking in", self.letter(first), DEALER[1], DEALER[0],
                           self.stored(when), self.stored(self.now - dt.timedelta(days=rng.uniform(0, 5))), 0))
        db.executemany("INSERT INTO Outbox (Out_Contact_ID, Product_Name, Out_Event_Type, "
                       "Out_Timeline_Event_Number, ToEmail, ToEmailName, Subject, Message, FromEmail, "
                       "FromEmailName, Date_To_Execute_Event, Date_Sent_To_Outbox, Lead_Time) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", outbox)
        self.manifest["events"] = EVENTS
        self.manifest["workflow_and_lead_events"] = workflow
        self.manifest["outbox"] = len(outbox)

    def lead_text(self, first, last, email, product):
        city, state, zipcode = self.city()
        year, make, model = self.vehicle()
        return CRLF.join([
            "A new lead has been sent to you.", "", f"Name: {first} {last}", f"Email: {email}",
            f"Phone: {self.phone()}", f"Address: {self.address()}", f"City: {city}, {state} {zipcode}",
            f"Vehicle: {year} {make} {model}", f"Interest: {product}",
            f"Comments: {self.text(REPLIES, 1, 2)}", "", "This lead was delivered by the lead service."])

    def other_rows(self, db):
        rng = self.rng
        junk = []
        for i in range(500):
            junk.append((f"promo{i}@{rng.choice(['deals-now.example', 'bulkmail.example', 'spamcity.example'])}",))
        db.executemany("INSERT INTO JunkEmails (Email) VALUES (?)", junk)
        self.junk_emails = [j[0] for j in junk]
        db.executemany("INSERT INTO JunkNames (Name) VALUES (?)",
                       [(n,) for n in ["Test", "Mickey", "Mouse", "Donald", "Duck", "Asdf", "None", "Nobody"]])
        unmatched = []
        for i in range(1500):
            when = self.now - dt.timedelta(days=rng.uniform(1, 400))
            sender = f"{rng.choice(['news', 'info', 'sales', 'support', 'noreply'])}@{rng.choice(['vendorparts.example', 'autoweekly.example', 'dealer-tools.example'])}"
            unmatched.append((self.text(SENTENCES, 3, 8), rng.choice(["Newsletter", "Your order", "Invoice", "Webinar"]),
                              sender, sender.split("@")[0].title(), self.stored(when), self.stored(when),
                              self.unique_name(when), i, 0, 0))
        db.executemany("INSERT INTO NewEmails (Email_Message, Email_Subject, Email_From, Email_From_Name, "
                       "Email_Date, Email_Received_Date, Email_Unique_ID, Email_Number_On_Server, Email_New, "
                       "Has_Attachments) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", unmatched)
        stats = []
        for day in range(400):
            when = (self.now - dt.timedelta(days=day)).replace(hour=0, minute=0, second=0)
            for event in ["Event History: Email In", "Event History: Email Out", "Added to Unmatched",
                          "Event History: Email Entry"]:
                stats.append((self.stored(when), event, rng.randint(1, 80)))
        db.executemany("INSERT INTO Stats (EventDate, Event, NumOfEvents) VALUES (?, ?, ?)", stats)
        for text in INVALID_SUBJECTS:
            db.execute("INSERT INTO InvalidSearchStrings (Subject_Search_String) VALUES (?)", (text,))
        self.lead_filters(db)
        self.lead_source(db)

    def lead_filters(self, db):
        rules = {
            "label": [("Name", "Label Search", "Name:", None, None),
                      ("Email", "Label Search", "Email:", None, None),
                      ("Home Phone", "Label Search", "Phone:", None, None),
                      ("Address", "Label Search", "Address:", None, None),
                      ("City, State Zip", "Label Search", "City:", None, None),
                      ("Year Make Model", "Label Search", "Vehicle:", None, None),
                      ("Product", "Label Search", "Interest:", None, None),
                      ("Notes", "Label Search", "Comments:", None, None)],
            "line": [("Mr/Mrs Name", "Line Instance Search", "Customer", None, "1"),
                     ("Email", "Label Search", "E-mail:", None, None),
                     ("Cell Phone", "Label Search", "Mobile:", None, None),
                     ("City, State", "Line Instance Search", "Location", None, "1"),
                     ("Year Make Model", "Line Instance Search", "Vehicle of interest", None, "1"),
                     ("Product", "Label Search", "Department:", None, None)],
            "label2": [("Firstname", "Label Search", "First Name:", None, None),
                       ("Lastname", "Label Search", "Last Name:", None, None),
                       ("Email", "Label Search", "Email Address:", None, None),
                       ("Work Phone", "Label Search", "Work:", None, None),
                       ("Cell Phone", "Label Search", "Cell:", None, None),
                       ("Company", "Label Search", "Company:", None, None),
                       ("Product", "Label Search", "Department:", None, None),
                       ("Best Time to Call", "Label Search", "Best time:", None, None)],
        }
        for name, search, kind in LEAD_SITES:
            cur = db.execute("INSERT INTO EmailContactImports (Name_Of_Site, Search_String_On_Subject_Line, "
                             "Test_Pattern) VALUES (?, ?, '')", (name, search))
            for field, import_type, label, after, end in rules[kind]:
                db.execute("INSERT INTO EmailImportFieldsInfo (Email_Import_ID, Event_Field, Import_Type, "
                           "Label, After_Label, End_Label) VALUES (?, ?, ?, ?, ?, ?)",
                           (cur.lastrowid, field, import_type, label, after, end))

    LEAD_COLUMNS = ["Firstname", "MiddleInitial", "Lastname", "Address", "City", "State", "Zip", "Email",
                    "Homephone", "Workphone", "Cellphone", "Bdate", "Company", "Product", "Title",
                    "Relationship", "Referred_By", "Time_To_Contact", "Year", "Make", "Model",
                    "Interior_Color", "Exterior_Color", "Transmission", "Size_Of_Engine", "Number_Of_Doors",
                    "Number_Of_Cylinders", "Options"]

    def lead_source(self, db):
        columns = ", ".join(f"{c}_Position" for c in self.LEAD_COLUMNS)
        marks = ", ".join("?" * len(self.LEAD_COLUMNS))
        db.execute("INSERT INTO ContactSources (Name_Of_Site, Type_Of_Source, Path_For_File, Field_Delimiter, "
                   f"From_System, Automatically_Import, Delete_Remote_File_When_Done, {columns}) "
                   f"VALUES ('Dealer Lead File', 'Local File', ?, 'Comma', 'MS-Windows', 1, 0, {marks})",
                   [os.path.abspath(os.path.join(self.out, "leads.csv"))] + list(range(1, len(self.LEAD_COLUMNS) + 1)))

    # ---- the lead file ------------------------------------------------------------
    def lead_file(self):
        rng = self.rng
        lines, written = [], []
        kinds = {"new": 0, "same_email": 0, "same_four": 0, "repeated": 0, "junk": 0, "no_email": 0}
        while len(lines) < LEAD_LINES:
            roll = rng.random()
            city, state, zipcode = self.city()
            year, make, model = self.vehicle() if rng.random() < 0.7 else ("", "", "")
            if roll < 0.10:
                kind = "same_email"  # an existing contact's address, written in other letters
                c = rng.choice(self.contacts_list)
                first, middle, last, email = self.first(), "", c[3], c[4].upper()
                if not c[4]:
                    continue
            elif roll < 0.14:
                kind = "same_four"
                c = rng.choice(self.contacts_list)
                first, middle, last, email = c[1], c[2], c[3], c[4]
            elif roll < 0.17 and written:
                kind = "repeated"
                first, middle, last, email = rng.choice(written)
            elif roll < 0.18:
                kind = "junk"
                first, middle, last, email = self.first(), "", self.last(), rng.choice(self.junk_emails)
            elif roll < 0.20:
                kind = "no_email"
                first, middle, last, email = self.first(), "", self.last(), ""
            else:
                kind = "new"
                first, last = self.first(), self.last()
                middle = rng.choice("ABCDEFGHJKLMNPRSTW") if rng.random() < 0.3 else ""
                email = self.email_for(first, last)
                written.append((first, middle, last, email))
            kinds[kind] += 1
            birthday = f"{rng.randint(1, 12)}/{rng.randint(1, 28)}/{rng.randint(1945, 2004)}" if rng.random() < 0.5 else ""
            fields = [first, middle, last, self.address(), city, state, zipcode, email,
                      self.phone(), self.phone() if rng.random() < 0.3 else "",
                      self.phone() if rng.random() < 0.6 else "", birthday,
                      rng.choice(COMPANIES) if rng.random() < 0.2 else "",
                      rng.choice([p[0] for p in PRODUCTS[:8]]), rng.choice(TITLES) if rng.random() < 0.4 else "",
                      "Prospect", "", rng.choice(BEST_TIMES), year, make, model,
                      rng.choice(COLORS) if year else "", rng.choice(COLORS) if year else "",
                      "Automatic" if year else "", "", "4" if year else "", "", ""]
            # Some exporters quote every text field.
            if rng.random() < 0.2:
                fields = [f'"{f}"' for f in fields]
            lines.append(",".join(fields))
        with open(os.path.join(self.out, "leads.csv"), "w", encoding="utf-8", newline="") as out:
            out.write(CRLF.join(lines) + CRLF)
        self.manifest["lead_lines"] = len(lines)
        self.manifest["lead_kinds"] = kinds

    # ---- the mail store -------------------------------------------------------------
    def maildir(self):
        rng = self.rng
        store = os.path.join(self.out, "Maildir")
        for sub in ("new", "cur", "tmp"):
            os.makedirs(os.path.join(store, sub), exist_ok=True)
            os.makedirs(os.path.join(self.out, "Maildir-empty", sub), exist_ok=True)
        kinds = {"lead": 0, "contact": 0, "unmatched": 0, "invalid_sender": 0, "with_attachments": 0}
        start = self.now - dt.timedelta(days=120)
        step = (self.now - dt.timedelta(hours=1) - start) / MESSAGES
        for i in range(MESSAGES):
            when = (start + step * i + dt.timedelta(seconds=rng.randint(0, 30))).replace(microsecond=0)
            roll = rng.random()
            if roll < 0.22:
                kind, message = "lead", self.lead_mail(when)
            elif roll < 0.67:
                kind, message = "contact", self.contact_mail(when)
            elif roll < 0.72:
                kind, message = "invalid_sender", self.forwarded_mail(when)
            else:
                kind, message = "unmatched", self.unmatched_mail(when)
            kinds[kind] += 1
            if rng.random() < 0.08:
                self.attach(message)
                kinds["with_attachments"] += 1
            self.deliver(store, message, when, rng.random())
        self.manifest["messages"] = MESSAGES
        self.manifest["message_kinds"] = kinds

    def headers(self, message, when, sender, subject):
        message["Return-Path"] = f"<{sender[1]}>"
        message["Received"] = (f"from mx{self.rng.randint(1, 9)}.mailhost.example (mx.mailhost.example "
                               f"[192.0.2.{self.rng.randint(1, 254)}]) by mail.riversidemotors.example "
                               f"with ESMTPS id {self.rng.getrandbits(48):012x}; {format_datetime(when.astimezone())}")
        message["Date"] = format_datetime((when - dt.timedelta(seconds=self.rng.randint(5, 600))).astimezone())
        message["From"] = f"{sender[0]} <{sender[1]}>" if sender[0] else sender[1]
        message["To"] = f"{DEALER[0]} <{DEALER[1]}>"
        message["Subject"] = subject
        message["Message-ID"] = make_msgid(domain=sender[1].split("@")[-1])

    def lead_mail(self, when):
        rng = self.rng
        name, search, kind = rng.choice(LEAD_SITES)
        if rng.random() < 0.3:
            c = rng.choice(self.contacts_list)
            first, last, email = c[1], c[3], c[4] or self.email_for(c[1], c[3])
        else:
            first, last = self.first(), self.last()
            email = self.email_for(first, last)
        city, state, zipcode = self.city()
        year, make, model = self.vehicle()
        product = rng.choice([p[0] for p in PRODUCTS[:8]])
        if kind == "label":
            body = self.lead_text(first, last, email, product)
        elif kind == "line":
            body = CRLF.join([f"{name} has a new customer inquiry for you.", "", "Customer", "",
                              f"{rng.choice(['Mr', 'Mrs', 'Ms'])} {first} {last}", f"E-mail: {email}",
                              f"Mobile: {self.phone()}", "", "Location", f"{city}, {state}", "",
                              "Vehicle of interest", f"{year} {make} {model}", f"Department: {product}", "",
                              f"Message: {self.text(REPLIES, 1, 3)}"])
        else:
            body = CRLF.join(["Internet lead details", f"First Name: {first}", f"Last Name: {last}",
                              f"Email Address: {email}", f"Work: {self.phone()}", f"Cell: {self.phone()}",
                              f"Company: {rng.choice(COMPANIES)}", f"Department: {product}",
                              f"Best time: {rng.choice(BEST_TIMES)}", "",
                              f"Comments: {self.text(REPLIES, 1, 3)}"])
        message = EmailMessage()
        self.headers(message, when, (name, f"leads@{name.lower().replace(' ', '')}.example"),
                     f"{search} {first} {last}" if kind != "label2" else f"{search} {product}")
        message.set_content(body.replace(CRLF, "\n"))
        return message

    def contact_mail(self, when):
        rng = self.rng
        c = rng.choice(self.contacts_list)
        while not c[4]:
            c = rng.choice(self.contacts_list)
        first, last, email = c[1], c[3], c[4]
        if rng.random() < 0.1:
            email = email.capitalize()  # the address as the sender's client writes it
        message = EmailMessage()
        self.headers(message, when, (f"{first} {last}", email), "Re: " + rng.choice(
            ["Your inquiry", "Test drive", "Price quote", "Trade-in value", "Service appointment",
             f"Following up on your {c[5]} inquiry" if c[5] else "Your visit"]))
        text = (self.text(REPLIES, 1, 4) + "\n\n" + first + "\n\n" + "On " + when.strftime("%a, %b %d, %Y") +
                f", {DEALER[0]} wrote:\n> " + "\n> ".join(self.letter(first).split(CRLF)))
        message.set_content(text)
        if rng.random() < 0.5:
            html = "<html><body><p>" + text.replace("\n\n", "</p><p>").replace("\n", "<br>") + "</p></body></html>"
            message.add_alternative(html, subtype="html")
        return message

    def forwarded_mail(self, when):
        rng = self.rng
        c = rng.choice(self.contacts_list)
        while not c[4]:
            c = rng.choice(self.contacts_list)
        message = EmailMessage()
        self.headers(message, when, ("Riverside Motors Website", "webform@riversidemotors.example"),
                     rng.choice(INVALID_SUBJECTS) + f" #{rng.randint(1000, 99999)}")
        message.set_content("\n".join([
            "A visitor filled in the contact form.", "", f"Name: {c[1]} {c[3]}", f"Email: {c[4]}",
            f"Phone: {self.phone()}", f"Message: {self.text(REPLIES, 1, 3)}", "",
            "Sent from riversidemotors.example (support: webmaster@riversidemotors.example)"]))
        return message

    def unmatched_mail(self, when):
        rng = self.rng
        senders = [("AutoWeekly", "news@autoweekly.example"), ("Vendor Parts", "orders@vendorparts.example"),
                   ("Dealer Tools", "noreply@dealer-tools.example"), ("Bank of Springfield", "alerts@bos.example"),
                   ("", "promo{}@deals-now.example".format(rng.randint(500, 5000)))]
        if rng.random() < 0.4:
            first, last = self.first(), self.last()
            sender = (f"{first} {last}", self.email_for(first, last))
            subject = rng.choice(["Question about a car", "Looking for a truck", "Do you take trade-ins?",
                                  "Price of the Camry on your lot"])
        else:
            sender = rng.choice(senders)
            subject = rng.choice(["This week's deals", "Your order has shipped", "Invoice #{}".format(rng.randint(1000, 9999)),
                                  "Industry newsletter", "Webinar invitation", "Account statement ready"])
        message = EmailMessage()
        self.headers(message, when, sender, subject)
        text = "\n\n".join(self.text(SENTENCES, 2, 6) for _ in range(rng.randint(1, 5)))
        if rng.random() < 0.5:
            message.set_content(text)
            message.add_alternative("<html><head><style>p{color:#333}</style></head><body><table><tr><td>"
                                    + "".join(f"<p>{p}</p>" for p in text.split("\n\n"))
                                    + "</td></tr></table>&copy; 2024 &amp; more</body></html>", subtype="html")
        elif rng.random() < 0.5:
            message.set_content("<html><body>" + "".join(f"<p>{p}</p>" for p in text.split("\n\n"))
                                + "<br>Unsubscribe &nbsp;|&nbsp; Privacy</body></html>", subtype="html")
        else:
            message.set_content(text)
        return message

    def attach(self, message):
        rng = self.rng
        kind = rng.choice([("application", "pdf", "quote-{}.pdf", b"%PDF-1.4\n"),
                           ("image", "jpeg", "IMG_{}.jpg", b"\xff\xd8\xff\xe0"),
                           ("application", "vnd.openxmlformats-officedocument.wordprocessingml.document",
                            "credit-application-{}.docx", b"PK\x03\x04")])
        for _ in range(rng.choice([1, 1, 1, 2, 3])):
            size = int(rng.lognormvariate(10.5, 0.8))  # around 36 KB, a few of some hundred
            data = kind[3] + rng.randbytes(min(size, 2_000_000))
            message.add_attachment(data, maintype=kind[0], subtype=kind[1],
                                   filename=kind[2].format(rng.randint(100, 9999)))

    def deliver(self, store, message, when, roll):
        name = self.unique_name(when)
        # Most mail is unread: the mail client marks it read, this program never does.
        if roll < 0.70:
            path = os.path.join(store, "new", name)
        elif roll < 0.90:
            path = os.path.join(store, "cur", name + ":2,")
        else:
            path = os.path.join(store, "cur", name + ":2," + self.rng.choice(["S", "RS", "FS"]))
        with open(path, "wb") as out:
            out.write(message.as_bytes())
        stamp = when.timestamp()
        os.utime(path, (stamp, stamp))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    empty_database, out = sys.argv[1], sys.argv[2]
    if os.path.exists(out):
        shutil.rmtree(out)
    os.makedirs(out)
    generator = Generator(out)
    generator.database(empty_database)
    generator.lead_file()
    generator.maildir()
    generator.manifest["generated"] = generator.now.strftime(DATE)
    generator.manifest["seed"] = SEED
    with open(os.path.join(out, "manifest.json"), "w") as manifest:
        json.dump(generator.manifest, manifest, indent=2)


if __name__ == "__main__":
    main()
