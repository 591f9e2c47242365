/* The entry points of the business-directory library "Varlink", as the main program calls
 * them. The library lies outside this system: its data and inner working are its own; what
 * is fixed is this calling contract and the record format below.
 *
 * Strings go in as pointers to NUL-terminated code page 949 copies, which the library may
 * overwrite in place up to their length (the caller reads them back after the call).
 *
 *   comClickSubmit(company name, "", region code)             standard search
 *   comRetSubmit(company name, word-search state, region code) word search
 *       -> the number of matching records; greater than 0 means records can be fetched
 *   isDone()  -> non-zero when no further record is available
 *   getNext() -> the next record, NUL-terminated CP949 text allocated with malloc(); the
 *                caller owns it and frees it with free(). NULL when there is none.
 *
 * A record is one line of fields separated by ":":
 *   1 company name; 2 category, a name or code "@" name; 3 "(" 7-character postcode ")"
 *   blank address; 4, 5 not shown; 6 telephone: a lead character, the area code as 4 digits,
 *   a separator, the local number (up to 12 characters); 7 department; 8 onward further data.
 */
#ifndef TELVIA_VARLINK_ABI_H
#define TELVIA_VARLINK_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t (*VarlinkSubmitFn)(char* companyName, char* state, char* regionCode);
typedef int32_t (*VarlinkIsDoneFn)(void);
typedef char* (*VarlinkGetNextFn)(void);

#ifdef __cplusplus
}
#endif

#endif
