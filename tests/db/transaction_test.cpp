// SPDX-License-Identifier: Apache-2.0
#include "transaction.h"

#include "database_fixture.h"
#include "statement.h"

namespace {

class Transactions : public DatabaseTest {
  protected:
    int persons() {
        Statement statement;
        std::int32_t value = -1;
        EXPECT_TRUE(statement.executeDirect("SELECT COUNT(*) FROM TESTPERSON"));
        statement.bindColumnInt(1, &value);
        EXPECT_EQ(statement.fetch(), Statement::Fetch::Row);
        statement.commit();
        return value;
    }
    void insertPerson(std::int32_t id) {
        PersonRecord person = samplePerson("I transaktion");
        person.ID = id;
        idCounter() = id - 1;
        ASSERT_EQ(DoInsertPD(person), DB_DONE);
    }
};

TEST_F(Transactions, CommittedWorkOfSeveralOperationsIsKept) {
    {
        Transaction transaction;
        ASSERT_TRUE(transaction.started());
        EXPECT_TRUE(transactionOpen());
        insertPerson(1);
        insertPerson(2);
        ASSERT_TRUE(transaction.commit());
        EXPECT_FALSE(transactionOpen());
    }
    reconnect();
    EXPECT_EQ(persons(), 2);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(Transactions, WorkIsUndoneWithoutCommitThoughEachOperationCommittedItself) {
    {
        Transaction transaction;
        insertPerson(1);
        insertPerson(2);
        EXPECT_EQ(persons(), 2); // seen inside the transaction
    }
    EXPECT_FALSE(transactionOpen());
    EXPECT_EQ(persons(), 0);
    idCounter() = 0;
    ASSERT_EQ(DoReadNameID(), DB_DONE);
    EXPECT_EQ(idCounter(), 0); // the counter update went with the rest

    // Afterwards every operation commits on its own again.
    insertPerson(5);
    reconnect(); // only what was committed is seen
    EXPECT_EQ(persons(), 1);
}

TEST_F(Transactions, ExplicitRollbackAndNoNesting) {
    Transaction outer;
    insertPerson(1);
    {
        Transaction inner; // refused and reported; the outer one goes on
        EXPECT_FALSE(inner.started());
        EXPECT_FALSE(inner.commit());
    }
    EXPECT_TRUE(transactionOpen());
    EXPECT_EQ(messages_.texts().size(), 1u);
    outer.rollback();
    EXPECT_FALSE(outer.commit()); // already ended
    EXPECT_EQ(persons(), 0);
}

} // namespace
