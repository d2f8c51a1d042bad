#pragma once

// A unit of work on the program's connection: while the object lives, automatic commit is off,
// so the statements run in one transaction that commit() makes permanent. Anything not committed
// is rolled back when the object goes, and automatic commit is switched on again. Statements run
// inside must not commit on their own (Statement::commit ends the transaction).
class Transaction {
  public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether automatic commit could be switched off; false is reported through DoSQLError.
    bool started() const { return started_; }
    // Commits; a failure is reported and the work is rolled back when the object goes.
    bool commit();

  private:
    bool started_ = false;
    bool finished_ = false;
};
