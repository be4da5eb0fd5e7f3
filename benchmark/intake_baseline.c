/* intake_baseline MAILDIR FOLDER
 *
 * The raw baseline of the mail intake: every message of the Maildir that is
 * not filed yet is parsed with GMime and filed into FOLDER/data2000.mdb
 * through the SQLite C API, doing the database work the program does for it:
 * the two "is it new" look-ups, the subject classification, the contact
 * look-up, then an event (with the pending mark and the day's count), a lead
 * contact with its event, or an unmatched e-mail, and the attachments copied
 * into FOLDER/Attachments/ with their rows. One transaction for the whole
 * run, a savepoint per message. Statements are prepared once.
 *
 * Prints one line "BENCH_RESULT {json}" as brackenlead_bench does.
 */

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <gmime/gmime.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

typedef struct {
    char* path;
    char* unique;
    time_t delivered;
} Entry;

typedef struct {
    char* field;
    char* type;
    char* label;
    char* end;
} Rule;

typedef struct {
    char* name;
    char* search;
    Rule* rules;
    int rule_count;
} Filter;

static sqlite3* db;
static sqlite3_stmt *event_seen, *unmatched_seen, *contact_by_email, *contact_exists, *event_duplicate,
    *insert_event, *mark_pending, *stats_update, *stats_insert, *insert_unmatched, *insert_attachment,
    *insert_contact, *savepoint, *release;
static char** invalid_subjects;
static int invalid_count;
static Filter* filters;
static int filter_count;
static char now_text[32], today_text[32];
static const char* attachments_folder;
static long filed_events, filed_unmatched, new_contacts, saved_attachments, skipped;

static void die(const char* what)
{
    fprintf(stderr, "intake_baseline: %s: %s\n", what, db ? sqlite3_errmsg(db) : strerror(errno));
    exit(1);
}

static sqlite3_stmt* prepare(const char* sql)
{
    sqlite3_stmt* statement = NULL;
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, NULL) != SQLITE_OK)
        die(sql);
    return statement;
}

static void exec_sql(const char* sql)
{
    if (sqlite3_exec(db, sql, NULL, NULL, NULL) != SQLITE_OK)
        die(sql);
}

static void bind_text(sqlite3_stmt* s, int i, const char* text)
{
    sqlite3_bind_text(s, i, text ? text : "", -1, SQLITE_TRANSIENT);
}

/* Steps a look-up; its first column as an id, 0 for no row. */
static sqlite3_int64 step_id(sqlite3_stmt* s)
{
    sqlite3_int64 id = 0;
    int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW)
        id = sqlite3_column_int64(s, 0);
    else if (rc != SQLITE_DONE)
        die("look-up");
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return id;
}

static void step_done(sqlite3_stmt* s)
{
    if (sqlite3_step(s) != SQLITE_DONE)
        die("statement");
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
}

static char* column_dup(sqlite3_stmt* s, int i)
{
    const unsigned char* text = sqlite3_column_text(s, i);
    return strdup(text ? (const char*)text : "");
}

static void load_classification(void)
{
    sqlite3_stmt* s = prepare("SELECT Subject_Search_String FROM InvalidSearchStrings ORDER BY rowid");
    while (sqlite3_step(s) == SQLITE_ROW) {
        invalid_subjects = realloc(invalid_subjects, sizeof(char*) * (invalid_count + 1));
        invalid_subjects[invalid_count++] = column_dup(s, 0);
    }
    sqlite3_finalize(s);
    s = prepare("SELECT ID, Name_Of_Site, Search_String_On_Subject_Line FROM EmailContactImports ORDER BY ID");
    sqlite3_stmt* r = prepare("SELECT Event_Field, Import_Type, Label, End_Label FROM EmailImportFieldsInfo "
                              "WHERE Email_Import_ID = ? ORDER BY Event_Field, ID");
    while (sqlite3_step(s) == SQLITE_ROW) {
        filters = realloc(filters, sizeof(Filter) * (filter_count + 1));
        Filter* f = &filters[filter_count++];
        f->name = column_dup(s, 1);
        f->search = column_dup(s, 2);
        f->rules = NULL;
        f->rule_count = 0;
        sqlite3_bind_int64(r, 1, sqlite3_column_int64(s, 0));
        while (sqlite3_step(r) == SQLITE_ROW) {
            f->rules = realloc(f->rules, sizeof(Rule) * (f->rule_count + 1));
            Rule* rule = &f->rules[f->rule_count++];
            rule->field = column_dup(r, 0);
            rule->type = column_dup(r, 1);
            rule->label = column_dup(r, 2);
            rule->end = column_dup(r, 3);
        }
        sqlite3_reset(r);
    }
    sqlite3_finalize(r);
    sqlite3_finalize(s);
}

static int by_delivery(const void* a, const void* b)
{
    const Entry* x = a;
    const Entry* y = b;
    if (x->delivered != y->delivered)
        return x->delivered < y->delivered ? -1 : 1;
    return strcmp(x->unique, y->unique);
}

static Entry* list_store(const char* store, int* count)
{
    Entry* entries = NULL;
    int n = 0, room = 0;
    const char* subs[] = {"new", "cur"};
    for (int k = 0; k < 2; ++k) {
        char folder[4096];
        snprintf(folder, sizeof folder, "%s/%s", store, subs[k]);
        DIR* dir = opendir(folder);
        if (!dir)
            die(folder);
        struct dirent* e;
        while ((e = readdir(dir))) {
            if (e->d_name[0] == '.')
                continue;
            char* path = g_strdup_printf("%s/%s", folder, e->d_name);
            struct stat st;
            if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
                g_free(path);
                continue;
            }
            if (n == room) {
                room = room ? room * 2 : 1024;
                entries = realloc(entries, sizeof(Entry) * room);
            }
            entries[n].path = path;
            entries[n].unique = strdup(e->d_name);
            char* colon = strchr(entries[n].unique, ':');
            if (colon)
                *colon = 0;
            entries[n].delivered = st.st_mtime;
            ++n;
        }
        closedir(dir);
    }
    qsort(entries, n, sizeof(Entry), by_delivery);
    *count = n;
    return entries;
}

static void date_text(time_t when, char* out, size_t size, int midnight)
{
    struct tm local;
    localtime_r(&when, &local);
    if (midnight)
        local.tm_hour = local.tm_min = local.tm_sec = 0;
    strftime(out, size, "%Y-%m-%d %H:%M:%S", &local);
}

/* The message as the intake needs it. */
typedef struct {
    char* plain;
    char* html;
    GMimeObject* attachments[64];
    char* attachment_names[64];
    int attachment_count;
} Parts;

static void walk(GMimeObject* object, Parts* parts)
{
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(object);
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i)
            walk(g_mime_multipart_get_part(multipart, i), parts);
        return;
    }
    if (GMIME_IS_MESSAGE_PART(object)) {
        if (parts->attachment_count < 64) {
            parts->attachments[parts->attachment_count] = object;
            parts->attachment_names[parts->attachment_count++] = g_strdup("message.eml");
        }
        return;
    }
    if (!GMIME_IS_PART(object))
        return;
    GMimePart* part = GMIME_PART(object);
    const char* file_name = g_mime_part_get_filename(part);
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (!file_name && !g_mime_part_is_attachment(part) && GMIME_IS_TEXT_PART(object)) {
        if (!parts->plain && g_mime_content_type_is_type(type, "text", "plain")) {
            parts->plain = g_mime_text_part_get_text(GMIME_TEXT_PART(object));
            return;
        }
        if (!parts->html && g_mime_content_type_is_type(type, "text", "html")) {
            parts->html = g_mime_text_part_get_text(GMIME_TEXT_PART(object));
            return;
        }
    }
    if (parts->attachment_count < 64) {
        parts->attachments[parts->attachment_count] = object;
        parts->attachment_names[parts->attachment_count++] = g_strdup(file_name ? file_name : "attachment");
    }
}

/* Tags dropped, line ends made CR LF. */
static char* note_text(const Parts* parts)
{
    const char* source = parts->plain ? parts->plain : (parts->html ? parts->html : "");
    size_t length = strlen(source);
    char* out = g_malloc(length * 2 + 1);
    size_t o = 0;
    int in_tag = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = source[i];
        if (!parts->plain) {
            if (c == '<') {
                in_tag = 1;
                continue;
            }
            if (in_tag) {
                if (c == '>')
                    in_tag = 0;
                continue;
            }
        }
        if (c == '\r')
            continue;
        if (c == '\n')
            out[o++] = '\r';
        out[o++] = c;
    }
    out[o] = 0;
    return out;
}

/* The value after a label on its line, blanks trimmed ("" when absent). */
static char* label_value(const char* text, const char* label)
{
    const char* at = *label ? strstr(text, label) : NULL;
    if (!at)
        return g_strdup("");
    at += strlen(label);
    while (*at == ' ')
        ++at;
    const char* end = at;
    while (*end && *end != '\r' && *end != '\n')
        ++end;
    while (end > at && end[-1] == ' ')
        --end;
    return g_strndup(at, end - at);
}

/* The instance-th non-empty line after the label's line. */
static char* line_after(const char* text, const char* label, int instance)
{
    const char* at = *label ? strstr(text, label) : NULL;
    if (!at)
        return g_strdup("");
    const char* line = strchr(at, '\n');
    while (line) {
        ++line;
        const char* end = line;
        while (*end && *end != '\r' && *end != '\n')
            ++end;
        if (end > line && --instance <= 0)
            return g_strndup(line, end - line);
        line = *end ? strchr(end, '\n') : NULL;
    }
    return g_strdup("");
}

typedef struct {
    char *first, *last, *email, *phone, *city, *state, *zip, *product, *company;
} Lead;

static void set_field(char** slot, char* value)
{
    if (*value) {
        g_free(*slot);
        *slot = value;
    } else {
        g_free(value);
    }
}

static void split_words(const char* value, char** a, char** b)
{
    const char* space = strchr(value, ' ');
    set_field(a, space ? g_strndup(value, space - value) : g_strdup(value));
    set_field(b, g_strdup(space ? space + 1 : ""));
}

static void read_lead(const Filter* f, const char* text, Lead* lead)
{
    for (int i = 0; i < f->rule_count; ++i) {
        const Rule* r = &f->rules[i];
        char* value = strcmp(r->type, "Line Instance Search") == 0 ? line_after(text, r->label, atoi(r->end))
                                                                  : label_value(text, r->label);
        if (strcmp(r->field, "Name") == 0) {
            split_words(value, &lead->first, &lead->last);
        } else if (strcmp(r->field, "Mr/Mrs Name") == 0) {
            const char* space = strchr(value, ' ');
            split_words(space ? space + 1 : value, &lead->first, &lead->last);
        } else if (strcmp(r->field, "City, State Zip") == 0 || strcmp(r->field, "City, State") == 0) {
            char* comma = strchr(value, ',');
            if (comma) {
                set_field(&lead->city, g_strndup(value, comma - value));
                split_words(comma + 2 <= value + strlen(value) ? comma + 2 : "", &lead->state, &lead->zip);
            }
        } else if (strcmp(r->field, "Email") == 0) {
            set_field(&lead->email, g_strdup(value));
        } else if (strcmp(r->field, "Firstname") == 0) {
            set_field(&lead->first, g_strdup(value));
        } else if (strcmp(r->field, "Lastname") == 0) {
            set_field(&lead->last, g_strdup(value));
        } else if (strstr(r->field, "Phone")) {
            set_field(&lead->phone, g_strdup(value));
        } else if (strcmp(r->field, "Product") == 0) {
            set_field(&lead->product, g_strdup(value));
        } else if (strcmp(r->field, "Company") == 0) {
            set_field(&lead->company, g_strdup(value));
        }
        g_free(value);
    }
}

static sqlite3_int64 find_contact(const char* email)
{
    if (!email || !*email)
        return 0;
    bind_text(contact_by_email, 1, email);
    return step_id(contact_by_email);
}

static void add_stats(const char* name)
{
    sqlite3_bind_int(stats_update, 1, 1);
    bind_text(stats_update, 2, today_text);
    bind_text(stats_update, 3, name);
    step_done(stats_update);
    if (sqlite3_changes(db) == 0) {
        bind_text(stats_insert, 1, today_text);
        bind_text(stats_insert, 2, name);
        sqlite3_bind_int(stats_insert, 3, 1);
        step_done(stats_insert);
    }
}

/* The event of a contact; 0 when the contact holds that message already. */
static sqlite3_int64 add_event(sqlite3_int64 contact, const char* product, const char* type, const char* sender,
                               const char* subject, const char* text, const char* received, const char* unique,
                               int attachments)
{
    sqlite3_bind_int64(contact_exists, 1, contact);
    if (!step_id(contact_exists))
        return 0;
    sqlite3_bind_int64(event_duplicate, 1, contact);
    bind_text(event_duplicate, 2, unique);
    if (step_id(event_duplicate))
        return 0;
    sqlite3_bind_int64(insert_event, 1, contact);
    bind_text(insert_event, 2, now_text);
    bind_text(insert_event, 3, product);
    bind_text(insert_event, 4, type);
    bind_text(insert_event, 5, sender);
    bind_text(insert_event, 6, subject);
    bind_text(insert_event, 7, text);
    bind_text(insert_event, 8, received);
    bind_text(insert_event, 9, unique);
    sqlite3_bind_int(insert_event, 10, attachments > 0);
    step_done(insert_event);
    sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    sqlite3_bind_int64(mark_pending, 1, contact);
    step_done(mark_pending);
    char name[128];
    snprintf(name, sizeof name, "Event History: %s", type);
    add_stats(name);
    ++filed_events;
    return id;
}

static void save_attachments(const Parts* parts, sqlite3_int64 owner, const char* link)
{
    for (int i = 0; i < parts->attachment_count; ++i) {
        char target[4096];
        snprintf(target, sizeof target, "%s/%s", attachments_folder, parts->attachment_names[i]);
        for (int counter = 1; access(target, F_OK) == 0; ++counter)
            snprintf(target, sizeof target, "%s/%d%s", attachments_folder, counter, parts->attachment_names[i]);
        GError* error = NULL;
        GMimeStream* out = g_mime_stream_fs_open(target, O_WRONLY | O_CREAT | O_TRUNC, 0666, &error);
        if (!out)
            die(target);
        GMimeObject* object = parts->attachments[i];
        if (GMIME_IS_MESSAGE_PART(object)) {
            GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
            if (inner)
                g_mime_object_write_to_stream(GMIME_OBJECT(inner), NULL, out);
        } else {
            GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(object));
            if (content)
                g_mime_data_wrapper_write_to_stream(content, out);
        }
        g_mime_stream_flush(out);
        g_object_unref(out);
        sqlite3_bind_int64(insert_attachment, 1, owner);
        bind_text(insert_attachment, 2, link);
        bind_text(insert_attachment, 3, target);
        bind_text(insert_attachment, 4, parts->attachment_names[i]);
        step_done(insert_attachment);
        ++saved_attachments;
    }
}

static int is_address_char(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
        || c == '_';
}

static sqlite3_int64 contact_from_body(const char* text)
{
    for (const char* at = strchr(text, '@'); at; at = strchr(at + 1, '@')) {
        const char* start = at;
        while (start > text && is_address_char(start[-1]))
            --start;
        const char* end = at + 1;
        while (is_address_char(*end))
            ++end;
        if (start == at || end == at + 1)
            continue;
        char* address = g_strndup(start, end - start);
        sqlite3_int64 id = find_contact(address);
        g_free(address);
        if (id)
            return id;
    }
    return 0;
}

static void file_message(const Entry* entry, int index)
{
    char received[32];
    date_text(entry->delivered, received, sizeof received, 0);
    bind_text(event_seen, 1, entry->unique);
    bind_text(event_seen, 2, received);
    bind_text(unmatched_seen, 1, entry->unique);
    bind_text(unmatched_seen, 2, received);
    if (step_id(event_seen) || step_id(unmatched_seen)) {
        ++skipped;
        return;
    }

    gchar* content = NULL;
    gsize size = 0;
    if (!g_file_get_contents(entry->path, &content, &size, NULL))
        return;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(content, size);
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, NULL);
    g_object_unref(parser);
    g_object_unref(stream);
    g_free(content);
    if (!message)
        return;
    const char* subject = g_mime_message_get_subject(message);
    if (!subject)
        subject = "";
    const char* address = "";
    const char* name = "";
    InternetAddressList* from = g_mime_message_get_from(message);
    if (from && internet_address_list_length(from) > 0) {
        InternetAddress* sender = internet_address_list_get_address(from, 0);
        if (INTERNET_ADDRESS_IS_MAILBOX(sender)) {
            address = internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(sender));
            name = internet_address_get_name(sender);
        }
    }
    if (!name || !*name)
        name = address;
    Parts parts = {0};
    if (g_mime_message_get_mime_part(message))
        walk(g_mime_message_get_mime_part(message), &parts);
    char* text = note_text(&parts);

    int kind = 3;
    const Filter* filter = NULL;
    for (int i = 0; i < invalid_count && kind == 3; ++i)
        if (*invalid_subjects[i] && strstr(subject, invalid_subjects[i]))
            kind = 1;
    for (int i = 0; i < filter_count && kind == 3; ++i)
        if (*filters[i].search && strstr(subject, filters[i].search)) {
            kind = 2;
            filter = &filters[i];
        }

    step_done(savepoint);
    if (kind == 2) {
        Lead lead = {0};
        read_lead(filter, text, &lead);
        sqlite3_int64 contact = find_contact(lead.email);
        if (!contact) {
            bind_text(insert_contact, 1, lead.first);
            bind_text(insert_contact, 2, lead.last);
            bind_text(insert_contact, 3, lead.email);
            bind_text(insert_contact, 4, lead.phone);
            bind_text(insert_contact, 5, lead.city);
            bind_text(insert_contact, 6, lead.state);
            bind_text(insert_contact, 7, lead.zip);
            bind_text(insert_contact, 8, lead.product);
            bind_text(insert_contact, 9, lead.company);
            bind_text(insert_contact, 10, filter->name);
            bind_text(insert_contact, 11, now_text);
            bind_text(insert_contact, 12, now_text);
            step_done(insert_contact);
            contact = sqlite3_last_insert_rowid(db);
            ++new_contacts;
        }
        sqlite3_int64 event = add_event(contact, lead.product, "Email Entry", filter->name, subject, text, received,
                                        entry->unique, parts.attachment_count);
        if (event)
            save_attachments(&parts, event, "E");
        g_free(lead.first), g_free(lead.last), g_free(lead.email), g_free(lead.phone), g_free(lead.city);
        g_free(lead.state), g_free(lead.zip), g_free(lead.product), g_free(lead.company);
    } else {
        sqlite3_int64 contact = kind == 1 ? contact_from_body(text) : find_contact(address);
        if (contact) {
            sqlite3_int64 event = add_event(contact, "", "Email In", address, subject, text, received, entry->unique,
                                            parts.attachment_count);
            if (event)
                save_attachments(&parts, event, "E");
        } else {
            bind_text(insert_unmatched, 1, text);
            bind_text(insert_unmatched, 2, subject);
            bind_text(insert_unmatched, 3, address);
            bind_text(insert_unmatched, 4, name);
            bind_text(insert_unmatched, 5, now_text);
            bind_text(insert_unmatched, 6, received);
            bind_text(insert_unmatched, 7, entry->unique);
            sqlite3_bind_int(insert_unmatched, 8, index);
            sqlite3_bind_int(insert_unmatched, 9, parts.attachment_count > 0);
            step_done(insert_unmatched);
            sqlite3_int64 row = sqlite3_last_insert_rowid(db);
            add_stats("Added to Unmatched");
            save_attachments(&parts, row, "U");
            ++filed_unmatched;
        }
    }
    step_done(release);

    for (int i = 0; i < parts.attachment_count; ++i)
        g_free(parts.attachment_names[i]);
    g_free(parts.plain);
    g_free(parts.html);
    g_free(text);
    g_object_unref(message);
}

static double seconds_now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: intake_baseline MAILDIR FOLDER\n");
        return 2;
    }
    const double begin = seconds_now();
    g_mime_init();
    char database[4096], folder[4096];
    snprintf(database, sizeof database, "%s/data2000.mdb", argv[2]);
    snprintf(folder, sizeof folder, "%s/Attachments", argv[2]);
    attachments_folder = folder;
    mkdir(folder, 0777);
    if (sqlite3_open_v2(database, &db, SQLITE_OPEN_READWRITE, NULL) != SQLITE_OK)
        die(database);
    sqlite3_busy_timeout(db, 5000);
    time_t now = time(NULL);
    date_text(now, now_text, sizeof now_text, 0);
    date_text(now, today_text, sizeof today_text, 1);

    event_seen = prepare("SELECT ID FROM Eventhistory WHERE Event_Unique_ID = ? AND Email_ID_Date = ? LIMIT 1");
    unmatched_seen = prepare("SELECT ID FROM NewEmails WHERE Email_Unique_ID = ? AND Email_Received_Date = ? LIMIT 1");
    contact_by_email = prepare("SELECT ID FROM Contacts WHERE Email = ? ORDER BY ID LIMIT 1");
    contact_exists = prepare("SELECT ID FROM Contacts WHERE ID = ?");
    event_duplicate = prepare("SELECT ID FROM Eventhistory WHERE ContactID = ? AND Event_Unique_ID = ?");
    insert_event = prepare("INSERT INTO Eventhistory (ContactID, EventDate, Event_Product, Event_Type, "
                           "Timeline_Step_Number, Sender, EventSubject, EventMessage, EventRead, Email_ID_Date, "
                           "Event_Unique_ID, Has_Attachments) VALUES (?1, ?2, ?3, ?4, 0, ?5, ?6, ?7, 0, ?8, ?9, ?10)");
    mark_pending = prepare("UPDATE Contacts SET Pending_Events_To_Read = 1 WHERE ID = ?");
    stats_update = prepare("UPDATE Stats SET NumOfEvents = coalesce(NumOfEvents, 0) + ? WHERE rowid = "
                           "(SELECT rowid FROM Stats WHERE EventDate = ? AND Event = ? ORDER BY rowid LIMIT 1)");
    stats_insert = prepare("INSERT INTO Stats (EventDate, Event, NumOfEvents) VALUES (?, ?, ?)");
    insert_unmatched = prepare("INSERT INTO NewEmails (Email_Message, Email_Subject, Email_From, Email_From_Name, "
                               "Email_Date, Email_Received_Date, Email_Unique_ID, Email_Number_On_Server, "
                               "Email_New, Has_Attachments) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 1, ?9)");
    insert_attachment = prepare("INSERT INTO Attachments (Link_ID, Link_Database, Attachment_Path_Name, "
                                "Attachment_Final_Name) VALUES (?, ?, ?, ?)");
    insert_contact = prepare("INSERT INTO Contacts (FirstName, LastName, Email, Homephone, City, State, Zipcode, "
                             "Product, Company, Import_Source, Contact_Received_Date, Workflow_Start_Date, "
                             "New_Contact) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)");
    savepoint = prepare("SAVEPOINT message");
    release = prepare("RELEASE message");

    exec_sql("BEGIN");
    load_classification();
    int count = 0;
    Entry* entries = list_store(argv[1], &count);
    for (int i = 0; i < count; ++i)
        file_message(&entries[i], i);
    exec_sql("COMMIT");
    const double seconds = seconds_now() - begin;

    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    printf("BENCH_RESULT {\"work\": \"intake\", \"seconds\": %.6f, \"peak_kib\": %ld, \"extra\": "
           "{\"messages\": %d, \"events\": %ld, \"unmatched\": %ld, \"new_contacts\": %ld, \"attachments\": %ld, "
           "\"already_filed\": %ld}, \"error\": \"\"}\n",
           seconds, usage.ru_maxrss, count, filed_events, filed_unmatched, new_contacts, saved_attachments, skipped);
    sqlite3_close(db);
    return 0;
}
