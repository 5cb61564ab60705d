#pragma once

// A group of statements run as one transaction under the store's lock, so
// that a bulk operation does not pay a commit per statement and no other
// thread's statement lands inside the group. Without a transaction (it could
// not be begun) the statements simply run one by one.
class CStoreBatch {
public:
    static constexpr int kSize = 500; // statements per group: short waits for other threads

    CStoreBatch();
    ~CStoreBatch(); // rolls back what was not committed
    CStoreBatch(const CStoreBatch&) = delete;
    CStoreBatch& operator=(const CStoreBatch&) = delete;

    // True when the group is stored. False when its commit failed: then nothing
    // of it is stored and the caller runs the statements again one by one.
    bool Commit();

private:
    bool m_open = false;
};

// Runs `op` on every record of the chain, one group of kSize per transaction; a
// group whose commit fails is run again record by record, so one failing record
// never keeps the others from being stored.
template <class Record, class Op>
void RunInBatches(Record* list, Op op)
{
    for (Record* from = list; from;) {
        Record* end = from;
        for (int n = 0; end && n < CStoreBatch::kSize; ++n)
            end = end->next;
        CStoreBatch batch;
        for (Record* c = from; c != end; c = c->next)
            op(*c);
        if (!batch.Commit())
            for (Record* c = from; c != end; c = c->next)
                op(*c);
        from = end;
    }
}
