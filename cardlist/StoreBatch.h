#pragma once

// A group of card statements run as one transaction under the store's lock, so
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
