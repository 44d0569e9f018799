#pragma once
// The library's exported functions: plain C names, callable from a host that loads librigel.so
// or rigel.dll.
// Arguments are the host's objects, declared in our headers. No exception leaves any of them.

#include "platform/base/DT_IntListe.h"
#include "platform/base/Streng.h"
#include "platform/host/CArchive.h"
#include "platform/host/CString.h"
#include "points/CvSporopPointList.h"

class CFile;
class CvPolyLine;
class DT_Nodeliste;
class TrackProject;
class VS_LinjePaalegg;

#ifdef _WIN32
// rigel.dll's export table takes these names from frame/exports/rigel.def.
#define RIGEL_EXPORT extern "C"
#else
#define RIGEL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// Loading and saving by file type (see frame/Dispatcher.h). project may be null. Serialize loads
// when the archive is loading and saves when it is storing; MeridanSave only saves, next to file.
RIGEL_EXPORT void Serialize(CArchive* archive, TrackProject* project, int type,
                            unsigned char spwFlag, unsigned char askCodes,
                            unsigned char railExports);
RIGEL_EXPORT void MeridanSave(CFile* file, TrackProject* project, int type, unsigned char spwFlag,
                              unsigned char unused, unsigned char railExports);
// Asks for a KOF file and loads it (no project, codes asked for, rail exports on). Always 0.
RIGEL_EXPORT int rigel_LoadFile();

// Centre points to and from the host.
RIGEL_EXPORT int GetCenterCoordinateList(CvSporopPointList* list);
RIGEL_EXPORT int SetCenterCoordinateList(CvSporopPointList* list);
// Sorts the measured lists and derives the centre track from the rails where needed.
RIGEL_EXPORT bool CheckCenterCoordinateList(CvPolyLine* alignment);
RIGEL_EXPORT void GetQuickSortStatus(int* read, int* deleted, int* duplicates, int* errors,
                                     int* analyzed);
RIGEL_EXPORT bool rigel_ClearCoordinateLists();
RIGEL_EXPORT bool rigel_IsCoordinatesLoaded();
RIGEL_EXPORT bool rigel_ClearFeatureCodesLists();
RIGEL_EXPORT bool rigel_IsFeatureCodesLoaded();

// Feature-code lists in the host application's profile.
RIGEL_EXPORT int IntListeToRegistry(DT_IntListe* list, CString* section, CString* entry);
RIGEL_EXPORT int IntListeFromRegistry(DT_IntListe* list, CString* section, CString* entry);

// File types and extensions.
RIGEL_EXPORT bool GetFileExtFromFileType(unsigned type, CString* out, unsigned char withDot);
RIGEL_EXPORT bool SetFileExtFromFileType(unsigned type, CString* path, CString* newPath);
RIGEL_EXPORT bool SetFileExtFromFileType2(unsigned type, Streng* name, CString* newPath);
RIGEL_EXPORT bool GetFileTypeFromFileExt(CString* name, unsigned* type);
RIGEL_EXPORT bool GetFileTypeFromFileName(CString* name, unsigned* type);
RIGEL_EXPORT bool GetFileTypeFromArchive(CArchive* archive, unsigned* type);

// The trolley files read back: a TDT file into the alignment, an HDT file into a point list (the
// vertical intersection points), a UDT file's cants into the project's alignment. Each returns
// the reader's status (formats/TrolleyFile.h).
RIGEL_EXPORT int rigel_GetVantaTDT(CString* path, CvPolyLine* alignment);
RIGEL_EXPORT int rigel_GetVantaHDT(CString* path, DT_Nodeliste* points);
RIGEL_EXPORT int rigel_GetVantaUDT(CString* path, TrackProject* project);

// The alignments of a LandXML file appended to alignment, their profiles' intersection points to
// profile, and their cants given to the alignment's elements. Always 1: a problem with the file
// leaves the targets as they were, or partly filled.
RIGEL_EXPORT int rigel_GetLandXMLAlignment(const char* path, CvPolyLine* alignment,
                                           VS_LinjePaalegg* profile);

// The older callers' fixed tables; every argument by address.
RIGEL_EXPORT void GETKOF(int* mode, int* unused, double* x, double* y, double* z, int* status);
RIGEL_EXPORT void GETHAS(int* mode, int* table, int* count);
RIGEL_EXPORT void GETPAR(int* value, int* result);
RIGEL_EXPORT void TITAB();
RIGEL_EXPORT void VPTAB();
