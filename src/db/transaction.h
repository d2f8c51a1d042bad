// SPDX-License-Identifier: Apache-2.0
#pragma once

// A unit of work on the program's connection: several statements committed together or not at
// all.
//
// While the object lives, automatic commit is off, and the commit that every statement operation
// makes right after it runs (Statement::commit) is held back, so the operations in between become
// durable at commit() in one step. Anything not committed is rolled back when the object goes (or
// at rollback()), and automatic commit is switched on again. One transaction at a time; they do
// not nest.
class Transaction {
  public:
    // Switches automatic commit off. When that fails, or another transaction is open, the
    // failure is reported and started() is false; nothing should then be written.
    Transaction();
    // Rolls back unless committed, and switches automatic commit on again.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool started() const { return started_; }
    // True when the work is committed. On failure the driver's message is shown (DoSQLError) and
    // the work is rolled back.
    bool commit();
    // Undoes every write since the transaction began.
    void rollback();

  private:
    void finish();

    bool started_ = false;
    bool finished_ = false;
};

// Whether a Transaction is open; the statements' own commits wait for it while it is.
bool transactionOpen();
