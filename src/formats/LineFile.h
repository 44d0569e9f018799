#pragma once
// The line file (TXT): one alignment as tagged text records, for the track design application's
// line import. A horizontal block (TIE, TIEVE, LINJA, then ELEM, ELEMP1, ELEMP2 and, for arcs,
// ELEMCP per element) is followed by a vertical block (TIE, TIEVE, LINJAZ, then one ELEMZ per
// vertical intersection point). docs/formats.md gives the record layouts. Only written, never
// read.

class CvPolyLine;
class DT_Nodeliste;

// Writes the line file of alignment and its vertical intersection points (DT_Punkt nodes:
// x station, y height, z vertical curve radius; may be null: no ELEMZ records). A null tie or line
// name is written as "(null)"; the line name is padded with blanks to 13 characters. The elements
// are walked with the alignment's cursor (ActivateHead/ActivateNext), the points with the list's.
// The file is replaced atomically. false, and no file, when fileName is null or empty, the
// alignment is missing or has no elements, an arc cannot be placed (no centre), or the file cannot
// be written; the reason goes to the trace.
bool WriteLineFile(const char* fileName, CvPolyLine* alignment, DT_Nodeliste* verticalPoints,
                   const char* tieName, const char* lineName);
