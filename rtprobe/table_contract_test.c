/* The contract with the monitor, checked the way the monitor uses the library: plain C, the DLL
   loaded at run time, the object's table read by hand and every operation called through a
   __thiscall pointer in the table's order. Only operations that do not reach the SNMP manager
   are called (the system's manager may be absent). Prints one line per check; exit code 0 when
   all hold. */
#include <windows.h>

#include <stddef.h>
#include <stdio.h>
#include <string.h>

#if defined(_M_IX86) || defined(__i386__)
#define THISCALL __thiscall
#else
#define THISCALL /* one calling convention on 64-bit Windows */
#endif

typedef unsigned char Bool; /* the monitor's one-byte bool */

typedef void(THISCALL* ReservedOp)(void* self);
typedef void(THISCALL* SetAgentOp)(void* self, const char* agent, const char* community, int timeout, int retries);
typedef Bool(THISCALL* BoolOp)(void* self);
typedef Bool(THISCALL* TextOp)(void* self, char* text);
typedef int(THISCALL* GetIntegerOp)(void* self, unsigned index);
typedef Bool(THISCALL* IndexTextOp)(void* self, unsigned index, char* text);
typedef char*(THISCALL* NamesOp)(void* self);
typedef int(THISCALL* WalkOp)(void* self, const char* file);

enum {
    kReserved, kSetAgent, kOpen, kAddOid, kClearOids, kGet, kGetNext, kGetInteger, kGetString,
    kGetOidName, kGetOidNames, kPrintVarBinds, kClose, kWalkToFile, kIsOpen
};

static int failures = 0;

static void Check(int holds, const char* what) {
    printf("%s: %s\n", holds ? "ok  " : "FAIL", what);
    if (!holds)
        ++failures;
}

int main(int argc, char** argv) {
    const char* library = argc > 1 ? argv[1] : "rtprobe.dll";
    HMODULE module = LoadLibraryA(library);
    Check(module != NULL, "the library loads");
    if (module == NULL)
        return 1;
    void* (*create)(void) = (void* (*)(void))(void (*)(void))GetProcAddress(module, "CreateSNMP");
    Check(create != NULL, "CreateSNMP is exported under its plain name");
    if (create == NULL)
        return 1;

    unsigned char* object = (unsigned char*)create();
    void** table = *(void***)object;
    Check(object != NULL && table != NULL, "CreateSNMP gives an object with its table");
    Check(create() != object, "each call gives a new object");

    /* The fields behind the table, in their order. */
    const size_t word = sizeof(void*);
    const size_t agentAt = 2 * word, communityAt = agentAt + 40, timeoutAt = communityAt + 80;
    const size_t retriesAt = timeoutAt + 4, listAt = retriesAt + 4, openedAt = listAt + 2 * word;
    Check(strcmp((char*)object + agentAt, "127.0.0.1") == 0, "the agent address starts as 127.0.0.1");
    Check(strcmp((char*)object + communityAt, "netpub") == 0, "the community starts as netpub");
    Check(*(int*)(object + timeoutAt) == 1000 && *(int*)(object + retriesAt) == 1, "time-out 1000, one retry");
    Check(object[openedAt] == 0, "not open");

    ((ReservedOp)table[kReserved])(object);
    ((SetAgentOp)table[kSetAgent])(object, "192.168.1.1", "private", 2500, 3);
    Check(strcmp((char*)object + agentAt, "192.168.1.1") == 0, "SetAgent (2) stores the address");
    Check(strcmp((char*)object + communityAt, "private") == 0, "SetAgent stores the community");
    Check(*(int*)(object + timeoutAt) == 2500 && *(int*)(object + retriesAt) == 3, "SetAgent stores time-out and retries");

    Check(((BoolOp)table[kIsOpen])(object) == 0, "IsOpen (15) is false");
    Check(((BoolOp)table[kClearOids])(object) == 1, "ClearOids (5) is true");
    char error[32] = "untouched";
    Check(((TextOp)table[kGet])(object, error) == 0 && strcmp(error, "untouched") == 0,
          "Get (6) on a closed session fails and leaves the text");
    Check(((TextOp)table[kGetNext])(object, error) == 0 && strcmp(error, "untouched") == 0,
          "GetNext (7) on a closed session fails and leaves the text");
    Check(((GetIntegerOp)table[kGetInteger])(object, 0) == 0, "GetInteger (8) of an empty list is 0");
    char text[16] = "untouched";
    Check(((IndexTextOp)table[kGetString])(object, 0, text) == 0 && strcmp(text, "untouched") == 0,
          "GetString (9) of an empty list fails");
    Check(((IndexTextOp)table[kGetOidName])(object, 0, text) == 0 && strcmp(text, "untouched") == 0,
          "GetOidName (10) of an empty list fails");
    const char* names = ((NamesOp)table[kGetOidNames])(object);
    Check(names != NULL && names[0] == '\0', "GetOidNames (11) of an empty list is empty");
    Check(((BoolOp)table[kPrintVarBinds])(object) == 1, "PrintVarBinds (12) is true");
    Check(((BoolOp)table[kClose])(object) == 0, "Close (13) of a closed session is false");
    Check(((WalkOp)table[kWalkToFile])(object, "rtprobe-contract-walk.txt") == 0 &&
              GetFileAttributesA("rtprobe-contract-walk.txt") == INVALID_FILE_ATTRIBUTES,
          "WalkToFile (14) without list or session fails and makes no file");
    Check(object[openedAt] == 0, "still not open");

    printf("%d of the checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}
