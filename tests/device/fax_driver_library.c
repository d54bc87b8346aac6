/* A printer driver file for tests: it exports the fax discovery routine,
 * records the arguments of its last call and answers what the test set. */
#include <stddef.h>
#include <string.h>

static int answer;
static int calls;
static char lastDriverFile[1024];
static char lastPortName[256];
static void* lastQueue;

static void CopyText(char* out, size_t size, const char* text) {
  if (size == 0) return;
  out[0] = '\0';
  if (text != NULL) {
    strncpy(out, text, size - 1);
    out[size - 1] = '\0';
  }
}

int DoNetworkDiscoveryFaxEx(const char* driverFile, const char* portName, void* queue) {
  ++calls;
  CopyText(lastDriverFile, sizeof lastDriverFile, driverFile);
  CopyText(lastPortName, sizeof lastPortName, portName);
  lastQueue = queue;
  return answer;
}

void TestFaxDriverAnswer(int value) {
  answer = value;
  calls = 0;
}

/* The number of calls since the last TestFaxDriverAnswer, and the last one's
 * arguments. */
int TestFaxDriverLastCall(const char** driverFile, const char** portName, void** queue) {
  *driverFile = lastDriverFile;
  *portName = lastPortName;
  *queue = lastQueue;
  return calls;
}
