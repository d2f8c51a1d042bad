// What a user name or password may hold, the replacement of plain-text passwords by their hashes,
// and a database folder the driver cannot be given.

#include "credential_text.h"
#include "database_fixture.h"
#include "password_hash.h"
#include "statement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace {

using namespace std::string_literals;

TEST(CredentialText, CharactersOfValidUtf8WithoutControlCharacters) {
    const struct {
        std::string text;
        CredentialProblem problem;
    } cases[] = {
        {"abc", CredentialProblem::None},
        {"ab", CredentialProblem::TooShort},
        {"abcdefghijk", CredentialProblem::TooLong},
        {"åäöåäöåäöå", CredentialProblem::None}, // ten letters in twenty bytes
        {"abc" + std::string(200, '\x80'), CredentialProblem::InvalidUtf8},
        {"ab\0cdef"s, CredentialProblem::ControlCharacter},
        {"psy\nkolog", CredentialProblem::ControlCharacter},
        {"abc\x7F", CredentialProblem::ControlCharacter},
        {"abc\xC2\x85", CredentialProblem::ControlCharacter}, // a C1 line break
        {"abc\xC0\xAF", CredentialProblem::InvalidUtf8},      // an overlong '/'
        {"abc\xED\xA0\x80", CredentialProblem::InvalidUtf8},  // a surrogate
        {"abc\xF4\x90\x80\x80", CredentialProblem::InvalidUtf8},
        {"abc\xC3", CredentialProblem::InvalidUtf8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(credentialProblem(c.text), c.problem) << c.text;
    }
    EXPECT_EQ(credentialCharacterProblem("ab"), CredentialProblem::None);
    EXPECT_EQ(credentialCharacterProblem("a\rb"), CredentialProblem::ControlCharacter);
}

class PlainTextPasswords : public DatabaseTest {
  protected:
    // Every user's stored value.
    std::map<std::string, std::string> stored() {
        std::map<std::string, std::string> values;
        DoListUsers([&](const char* name, bool) { values[name] = storedValue(name); });
        return values;
    }
    static std::string storedValue(const char* name) {
        Statement statement;
        char value[256] = {};
        statement.bindText(1, name);
        statement.executeDirect("SELECT PASSWORD FROM SEC WHERE USERID = ?");
        statement.bindColumnText(1, value, sizeof value);
        statement.fetch();
        statement.commit();
        return value;
    }
    std::map<std::string, bool> marks() {
        std::map<std::string, bool> plain;
        EXPECT_EQ(DoListUsers([&](const char* name, bool p) { plain[name] = p; }), DB_DONE);
        return plain;
    }
};

TEST_F(PlainTextPasswords, AreListedAndReplacedAllInOneTransaction) {
    exec("DELETE FROM SEC");
    ASSERT_EQ(DoInsertUser("hashad", "hemligt"), DB_DONE);
    exec("INSERT INTO SEC (USERID, PASSWORD) VALUES ('anna', 'Klartext1')");
    exec("INSERT INTO SEC (USERID, PASSWORD) VALUES ('tom', '')");
    exec("INSERT INTO SEC (USERID, PASSWORD) VALUES ('zed', 'zedzed')");
    const std::map<std::string, bool> before = {
        {"anna", true}, {"hashad", false}, {"tom", false}, {"zed", true}};
    EXPECT_EQ(marks(), before);

    // The second update is refused: the first one is undone with it.
    refuseWrites("vagra_sec", "UPDATE", "SEC", "nej", "OLD.USERID = 'zed'");
    const std::map<std::string, std::string> untouched = stored();
    int rehashed = -1;
    EXPECT_EQ(DoRehashPlainTextPasswords(rehashed), DB_FAILED);
    EXPECT_EQ(rehashed, 0);
    EXPECT_EQ(stored(), untouched);
    EXPECT_EQ(marks(), before);
    dropRefusal("vagra_sec", "SEC");

    messages_.clear();
    ASSERT_EQ(DoRehashPlainTextPasswords(rehashed), DB_DONE);
    EXPECT_EQ(rehashed, 2);
    const std::map<std::string, bool> after = {
        {"anna", false}, {"hashad", false}, {"tom", false}, {"zed", false}};
    EXPECT_EQ(marks(), after);
    EXPECT_EQ(stored()["hashad"], untouched.at("hashad"));
    EXPECT_EQ(stored()["tom"], "");
    EXPECT_TRUE(isPasswordHash(stored()["anna"]));
    EXPECT_EQ(DoReadPassword("anna", "Klartext1"), DB_DONE);
    EXPECT_EQ(DoReadPassword("zed", "zedzed"), DB_DONE);
    EXPECT_EQ(DoReadPassword("anna", "klartext1"), DB_WRONG_PASSWORD);
    EXPECT_TRUE(messages_.texts().empty());
}

// The driver splits its connection string at ';' and takes braces literally: such a folder would
// open another file, or none.
TEST(DatabaseFolder, SemicolonsAndBracesAreRefusedWithAMessage) {
    TempDir dir;
    for (const char* folder : {"a;b", "a{b", "a}b"}) {
        const std::filesystem::path path = dir.path() / folder / kDatabaseFileName;
        std::filesystem::create_directory(path.parent_path());
        MessageCapture messages;
        EXPECT_EQ(DoConnect("", "", path.c_str()), 0) << folder;
        ASSERT_EQ(messages.texts().size(), 1u);
        EXPECT_NE(messages.texts()[0].find(path.string() + " innehåller semikolon"),
                  std::string::npos);
        DoDisconnect();
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
        EXPECT_TRUE(entry.is_directory()) << entry.path() << " was created";
    }
}

} // namespace
