// What the options store asks of the saved-accounts store: its part of the
// options load and of the options save.
#pragma once

struct IAccountsStore
{
    virtual ~IAccountsStore() {}
    // "Accounts.ini", then "Accounts.db", into memory.
    virtual void LoadAccounts() = 0;
    // The list back to "Accounts.db"; the older file goes once that worked.
    virtual void SaveAccounts() = 0;
};
