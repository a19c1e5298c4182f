#include "storage/bookmark_store.h"
#include "tree_fixture.h"

namespace verdan {
namespace {

using Bookmarks = test::TreeTest;

const QString kPerson = QStringLiteral("{11111111-2222-3333-4444-555555555555}");
const QString kOther = QStringLiteral("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");

// Texts a user may type, including one that would end a badly built literal and run a second statement.
const QStringList kTypedTexts = {
    QStringLiteral("O'Brien's \"note\" 100% ?"),
    QStringLiteral("x'); DELETE FROM ftPerson;--"),
    QStringLiteral("محمّد ـــ بن\u00A0علي"),
    QStringLiteral("line one\nline two\r\nline three"),
    QStringLiteral("007"),
};

int BookmarkRows() {
    return int(Dm().ScalarInt(QStringLiteral("SELECT count(*) FROM ftBookmark")));
}

TEST_F(Bookmarks, NoteAndFavouriteOfOnePersonLiveSideBySide) {
    EXPECT_TRUE(SetPersonBookmark(kPerson, QStringLiteral("first note")));
    EXPECT_TRUE(AddFavourite(kPerson, QStringLiteral("Person Name")));
    EXPECT_EQ(BookmarkRows(), 2);
    EXPECT_EQ(GetPersonBookmarkNote(kPerson), QStringLiteral("first note"));

    // A second favourite of the same person is refused; a second bookmark replaces the note.
    EXPECT_FALSE(AddFavourite(kPerson, QStringLiteral("again")));
    EXPECT_TRUE(SetPersonBookmark(kPerson, QStringLiteral("second note")));
    EXPECT_EQ(BookmarkRows(), 2);

    TextTable bookmarks;
    ListBookmarks(bookmarks);
    ASSERT_EQ(bookmarks.size(), 2);
    EXPECT_EQ(bookmarks[0].size(), 4);
    EXPECT_EQ(bookmarks[1][1], kPerson);
    EXPECT_EQ(bookmarks[1][2], QString());
    EXPECT_EQ(bookmarks[1][3], QStringLiteral("second note"));

    TextTable favourites;
    ListFavourites(favourites);
    ASSERT_EQ(favourites.size(), 2);
    EXPECT_EQ(favourites[1][1], kPerson);
    EXPECT_EQ(favourites[1][2], QStringLiteral("Person Name"));

    QString oid;
    QString note;
    ASSERT_TRUE(GetPersonBookmark(kPerson, oid, note));
    EXPECT_EQ(oid, bookmarks[1][0]);
    EXPECT_EQ(note, QStringLiteral("second note"));

    // Removing one kind leaves the other.
    EXPECT_FALSE(DeleteFavourite(oid));
    EXPECT_TRUE(DeletePersonBookmark(kPerson));
    EXPECT_FALSE(GetPersonBookmark(kPerson, oid, note));
    EXPECT_TRUE(oid.isEmpty() && note.isEmpty());
    ListFavourites(favourites);
    EXPECT_EQ(favourites.size(), 2);
    EXPECT_TRUE(DeleteFavourite(favourites[1][0]));
    EXPECT_EQ(BookmarkRows(), 0);
}

TEST_F(Bookmarks, ListsKeepTheirOrder) {
    ASSERT_TRUE(SetPersonBookmark(kPerson, QStringLiteral("older")));
    ASSERT_TRUE(SetPersonBookmark(kOther, QStringLiteral("newer")));
    TextTable bookmarks;
    ListBookmarks(bookmarks);
    ASSERT_EQ(bookmarks.size(), 3);
    EXPECT_EQ(bookmarks[1][3], QStringLiteral("newer"));
    EXPECT_EQ(bookmarks[2][3], QStringLiteral("older"));

    ASSERT_TRUE(AddFavourite(kPerson, QStringLiteral("A")));
    ASSERT_TRUE(AddFavourite(kOther, QStringLiteral("B")));
    TextTable favourites;
    ListFavourites(favourites);
    ASSERT_EQ(favourites.size(), 3);
    EXPECT_EQ(favourites[1][2], QStringLiteral("A"));
    EXPECT_TRUE(SetBookmarkOrder(favourites[1][0], 5));
    EXPECT_TRUE(SetBookmarkOrder(favourites[2][0], 1));
    ListFavourites(favourites);
    EXPECT_EQ(favourites[1][2], QStringLiteral("B"));
    EXPECT_EQ(favourites[2][2], QStringLiteral("A"));
}

TEST_F(Bookmarks, OidsFromGridCellsAreWholeNumbersOnly) {
    ASSERT_TRUE(SetPersonBookmark(kPerson, QStringLiteral("keep")));
    ASSERT_TRUE(SetPersonBookmark(kOther, QStringLiteral("other")));
    QString oid;
    QString note;
    ASSERT_TRUE(GetPersonBookmark(kPerson, oid, note));

    for (const QString& bad : {QStringLiteral("0 OR 1=1"), QStringLiteral("1; DELETE FROM ftBookmark"),
                               QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral(""),
                               QStringLiteral("  "), QStringLiteral("1.0"), QStringLiteral("0x1")}) {
        EXPECT_TRUE(GetBookmarkNote(bad).isEmpty()) << bad.toStdString();
        EXPECT_FALSE(SetBookmarkNote(bad, QStringLiteral("changed"))) << bad.toStdString();
        EXPECT_FALSE(SetBookmarkOrder(bad, 3)) << bad.toStdString();
        EXPECT_FALSE(DeleteBookmark(bad)) << bad.toStdString();
        EXPECT_FALSE(DeleteFavourite(bad)) << bad.toStdString();
    }
    EXPECT_EQ(BookmarkRows(), 2);
    EXPECT_EQ(GetPersonBookmarkNote(kPerson), QStringLiteral("keep"));
    EXPECT_EQ(GetPersonBookmarkNote(kOther), QStringLiteral("other"));

    // A cell's surrounding blanks do not matter.
    EXPECT_EQ(GetBookmarkNote(u' ' + oid + u' '), QStringLiteral("keep"));
    EXPECT_TRUE(SetBookmarkNote(oid + u' ', QStringLiteral("new")));
    EXPECT_EQ(GetBookmarkNote(oid), QStringLiteral("new"));
    EXPECT_TRUE(DeleteBookmark(oid));
    EXPECT_EQ(BookmarkRows(), 1);

    EXPECT_FALSE(SetPersonBookmark(QStringLiteral(" "), QStringLiteral("x")));
    EXPECT_FALSE(AddFavourite(QString(), QStringLiteral("x")));
    EXPECT_FALSE(DeletePersonBookmark(QString()));
}

TEST_F(Bookmarks, TypedNotesAreStoredAsTyped) {
    const int persons = CountPersons();
    for (const QString& text : kTypedTexts) {
        ASSERT_TRUE(SetPersonBookmark(kPerson, text)) << text.toStdString();
        EXPECT_EQ(GetPersonBookmarkNote(kPerson), text);
        QString oid;
        QString note;
        ASSERT_TRUE(GetPersonBookmark(kPerson, oid, note));
        ASSERT_TRUE(SetBookmarkNote(oid, text + text));
        EXPECT_EQ(GetBookmarkNote(oid), text + text);
        ASSERT_TRUE(AddFavourite(text, text));
        TextTable favourites;
        ListFavourites(favourites);
        EXPECT_EQ(favourites.last()[1], text);
        EXPECT_EQ(favourites.last()[2], text);
    }
    EXPECT_EQ(CountPersons(), persons);
    // An identifier holding an apostrophe addresses exactly its own row.
    EXPECT_TRUE(SetPersonBookmark(kTypedTexts[1], QStringLiteral("n")));
    EXPECT_TRUE(DeletePersonBookmark(kTypedTexts[1]));
    EXPECT_EQ(GetPersonBookmarkNote(kPerson), kTypedTexts.last() + kTypedTexts.last());
}

TEST_F(Bookmarks, PersonsWithNotesOrBriefing) {
    const QStringList ids = [] {
        QStringList list;
        Query q = Dm().Prepare(QStringLiteral("SELECT person_id FROM ftPerson ORDER BY oid"));
        while (q.Next())
            list << q.Text(0);
        return list;
    }();
    ASSERT_EQ(ids.size(), 3);
    auto set = [](const QString& id, const QString& notes, const QString& briefing, const QString& stamp) {
        ASSERT_EQ(
            Dm().Execute(QStringLiteral("UPDATE ftPerson SET notes = ?, briefing = ?, date_modified = ? "
                                        "WHERE person_id = ?"),
                         notes, briefing, stamp, id),
            1);
    };
    set(ids[0], QStringLiteral("later ' note"), QString(), QStringLiteral("2024-05-02 08:00:00"));
    set(ids[1], QStringLiteral("earlier"), QStringLiteral("brief"), QStringLiteral("2024-05-01 23:59:59"));
    set(ids[2], QString(), QString(), QStringLiteral("2024-05-03 00:00:00"));

    TextTable notes;
    ListPersonsWithNotes(notes);
    ASSERT_EQ(notes.size(), 3);
    EXPECT_EQ(notes[0].size(), 4);
    EXPECT_EQ(notes[1][0], ids[1]);
    EXPECT_EQ(notes[1][3], QStringLiteral("2024-05-01"));
    EXPECT_EQ(notes[2][2], QStringLiteral("later ' note"));

    TextTable briefings;
    ListPersonsWithBriefing(briefings);
    ASSERT_EQ(briefings.size(), 2);
    EXPECT_EQ(briefings[1][0], ids[1]);
    EXPECT_EQ(briefings[1][2], QStringLiteral("brief"));
}

} // namespace
} // namespace verdan
