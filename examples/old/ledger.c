/* ledger.c - a small double-entry ledger for the examples of Quorlin.
 *
 * Reads postings of the form "date account amount memo" and prints the
 * balance of every account.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAX_ACCOUNTS 64
#define NAME_LEN 32

struct account {
    char name[NAME_LEN];
    long balance;      /* in cents */
    int postings;
};

static struct account accounts[MAX_ACCOUNTS];
static int account_count = 0;

static struct account *find_account(const char *name)
{
    int i;
    for (i = 0; i < account_count; i++) {
        if (strcmp(accounts[i].name, name) == 0)
            return &accounts[i];
    }
    return NULL;
}

static struct account *open_account(const char *name)
{
    struct account *a = find_account(name);
    if (a != NULL)
        return a;
    if (account_count == MAX_ACCOUNTS) {
        fprintf(stderr, "too many accounts\n");
        exit(1);
    }
    a = &accounts[account_count++];
    strncpy(a->name, name, NAME_LEN - 1);
    a->balance = 0;
    a->postings = 0;
    return a;
}

static long parse_amount(const char *text)
{
    double value = atof(text);
    return (long)(value * 100.0);
}

static void post(const char *name, long cents)
{
    struct account *a = open_account(name);
    a->balance += cents;
    a->postings++;
}

static void print_balances(void)
{
    int i;
    printf("%-20s %12s %8s\n", "account", "balance", "count");
    for (i = 0; i < account_count; i++) {
        printf("%-20s %12.2f %8d\n", accounts[i].name,
               accounts[i].balance / 100.0, accounts[i].postings);
    }
}

static int read_postings(FILE *in)
{
    char line[256];
    int lines = 0;
    while (fgets(line, sizeof line, in) != NULL) {
        char date[16], name[NAME_LEN], amount[32];
        if (sscanf(line, "%15s %31s %31s", date, name, amount) != 3)
            continue;
        post(name, parse_amount(amount));
        lines++;
    }
    return lines;
}

int main(int argc, char **argv)
{
    FILE *in = stdin;
    int count;

    if (argc > 1) {
        in = fopen(argv[1], "r");
        if (in == NULL) {
            perror(argv[1]);
            return 1;
        }
    }
    count = read_postings(in);
    printf("%d postings read\n", count);
    print_balances();
    if (in != stdin)
        fclose(in);
    return 0;
}
