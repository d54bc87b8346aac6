/* A stand-in for the module that misbehaves on purpose, so the tests see how
 * prcfg reports what a real library must never do, and how it shows what the
 * machine traced. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "exports/vx5prcfg.h"

/* Past the 16 bytes a caller provides. */
#define OVERRUN_BYTES 20

static void Trace(const char* line) {
  const char* path = getenv("VX5PRCFG_TRACE");
  FILE* file = path != NULL ? fopen(path, "a") : NULL;
  if (file == NULL) return;
  fputs(line, file);
  fputc('\n', file);
  fclose(file);
}

int GetCurrentTimePJL(char* text) {
  memset(text, '7', OVERRUN_BYTES);
  return 1;
}

/* A Cyrillic machine that shows one message box and answers in its code page. */
int GetCurrentTimeS(char* text) {
  Trace("{\"event\":\"machine\",\"profile\":\"fake.reg\",\"ansi_code_page\":1251}");
  Trace(
      "{\"event\":\"message_box\",\"owner\":null,\"caption_hex\":\"cff0e8e2e5f2\","
      "\"text_hex\":\"4f4b\",\"type\":0,\"result\":1}");
  Trace("{\"event\":\"dialog\",\"id\":4003,\"title_hex\":\"41\"}");
  strcpy(text, "\xcf\xf0\xe8");
  return 1;
}
