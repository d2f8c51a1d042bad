#pragma once

// Several statements committed together or not at all.
//
// Every statement operation commits right after it runs. While a DbTransaction is open the
// connection is out of auto-commit mode and those commits are held back, so the work of all the
// operations in between becomes durable at commit() in one step. A transaction that ends without
// a successful commit() is rolled back. One transaction at a time; they do not nest.
class DbTransaction {
  public:
    // Switches auto-commit off. When the driver refuses, the failure is reported and begun() is
    // false; nothing should then be written.
    DbTransaction();
    // Rolls back unless committed, and switches auto-commit on again.
    ~DbTransaction();
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;

    bool begun() const { return begun_; }
    // True when the work is committed. On failure the driver's message is shown (DoSQLError) and
    // the work is rolled back.
    bool commit();
    // Undoes every write since the transaction began.
    void rollback();

  private:
    void end();

    bool begun_ = false;
    bool ended_ = false;
};

// Whether a DbTransaction is open; the statements' own commits wait for it while it is.
bool transactionOpen();
