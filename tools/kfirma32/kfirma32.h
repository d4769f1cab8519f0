/* The signing library's interface: the signer record and the functions the program calls by name. */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* One signer. Text fields are single-byte: a value, one NUL, then blanks up to the field's size; a value as long
   as the field fills it with no NUL. Curp_Firmante belongs to the library (BuscaCurps fills it). */
typedef struct Firmante {
    char Curp_Firmante[38];
    char Llave[256];
    char Password[256];
} Firmante;

/* The program hands over a table of this many records; the library signs with record 0. */
#define KFIRMA32_FIRMANTES 5

/* Result codes of GeneraFirmaDigital. */
#define KFIRMA32_FIRMADO 0
#define KFIRMA32_SIN_ARCHIVO 1
#define KFIRMA32_LLAVE_INVALIDA 2
#define KFIRMA32_PASSWORD_INCORRECTO 3
/* The signature could not be added to the file; the file is left as it was. */
#define KFIRMA32_ERROR_ESCRITURA 4

#if defined(_WIN32)
#if defined(KFIRMA32_BUILD)
#define KFIRMA32_API __declspec(dllexport)
#else
#define KFIRMA32_API __declspec(dllimport)
#endif
#else
#define KFIRMA32_API __attribute__((visibility("default")))
#endif

/* Reads the signer's CURP from the information file's AA record into firmantes[0].Curp_Firmante.
   Returns 1 when found, 0 otherwise (the field is then emptied). */
KFIRMA32_API int BuscaCurps(char* archivo, Firmante* firmantes);

/* Signs the file's bytes (SHA-256) with the private key of firmantes[0].Llave opened with
   firmantes[0].Password, and appends the signature line. Clears every record's Password before returning. */
KFIRMA32_API int GeneraFirmaDigital(char* archivo, Firmante* firmantes);

/* Checks the file's last line, a signature line as GeneraFirmaDigital appends it, against the public half of the
   key the last successful GeneraFirmaDigital signed with. Returns 1 when it is that key's signature of every byte
   before the line, 0 otherwise (no signing yet, no file, no signature line, or a signature that does not verify). */
KFIRMA32_API int VerificaFirmaDigital(char* archivo);

typedef int (*BuscaCurpsFn)(char* archivo, Firmante* firmantes);
typedef int (*GeneraFirmaDigitalFn)(char* archivo, Firmante* firmantes);
typedef int (*VerificaFirmaDigitalFn)(char* archivo);

#ifdef __cplusplus
}
#endif
