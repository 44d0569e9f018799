#pragma once
// The files of the Vanta rail trolley: the measurement file (VTD, one measured track point per
// line), and the alignment tables it exchanges with the design application: TDT (horizontal
// elements), HDT (vertical intersection points with their curve radii) and UDT (cant along the
// track). A TrolleyFile is made on the stack for one read or write and then discarded.
//
// Files list the easting before the northing; in memory x is the northing and y the easting.
// Every writer asks through the HostUi before it replaces an existing file and writes atomically
// (Fil); numbers are written with rigel::Format and read with rigel::Scan / rigel::Atof, never
// through the C locale.
//
// Layouts:
// - measurement file: up to seven header lines with "ReferenceGauge=", "CantBase=" and
//   "Name=" (the seventh line is also the first data line); data lines with ";"-separated
//   fields: description; code; easting; northing; height; (unused); cant angle (rad); station.
// - TDT: a record of zeros, one record per element (station, easting, northing, azimuth in gon,
//   code 0 line / 1 arc / 2 transition, length, start radius, end radius), and a closing record
//   with code 9 at the end of the last element. Column widths follow from the largest values.
// - HDT: the number of points minus 1, then one line per point (station, height, radius signed
//   negative in sags); the last point's radius is 999.0. No line end after the last line.
// - UDT: records "station, -b/2, raise of the left rail, +b/2, raise of the right rail, 0" (m)
//   at the stations where the cant changes.

#include <string>

class CArchive;
class CvPolyLine;
class CvSporopPointList;
class DT_Nodeliste;
class DT_PointList;
class TrackProject;

namespace rigel {
class LineSource;
}

class TrolleyFile {
public:
    TrolleyFile() = default;

    // Header values of the last measurement file read (0 until then).
    double ReferenceGauge = 0.0; // m
    double CantBase = 0.0;       // m; distance of the rail contact points
    double StartStation = 0.0;   // m; station of the first data line
    std::string Name;

    // Reads the measurement file from the archive's file and appends one point per data line.
    // uncorrectedHeights 1 (file type 28) keeps the measured heights; 0 (file type 20) lowers
    // each by half the height difference the cant angle gives over CantBase. 1 done; -1 the
    // archive has no file; -2 its file is not open; -3 the archive is not a loading one.
    int ReadMeasurementFile(CArchive& archive, CvSporopPointList& points, int uncorrectedHeights);
    // The same from any line source (a buffer, for the fuzz target and tests). Returns 1.
    int ReadMeasurementLines(rigel::LineSource& lines, CvSporopPointList& points,
                             int uncorrectedHeights);

    // The writers: 1 written; 0 not written (the user kept the existing file, or it could not be
    // written); -1 no project; -2 the project's horizontal alignment is empty (HDT too).
    int WriteTDT(TrackProject* project, const char* fileName);
    int WriteHDT(TrackProject* project, const char* fileName);
    int WriteUDT(TrackProject* project, const char* fileName);

    // The readers append to their target. 1 read; 0 no target; -2 the file does not exist; -3 it
    // cannot be opened.
    // ReadTDT: one CvPolyElement per pair of consecutive records.
    int ReadTDT(const char* fileName, CvPolyLine* alignment);
    // ReadHDT: one owned DT_Punkt (station, height, radius) per point line.
    int ReadHDT(const char* fileName, DT_Nodeliste* points);
    // ReadUDT: sets h1 and h2 of the survey elements of the project's alignment.
    int ReadUDT(const char* fileName, TrackProject* project);

    // The bodies of the files and of the readers, without file or prompt.
    static std::string TDTText(const CvPolyLine& alignment);
    static std::string HDTText(const DT_PointList& verticalAlignment);
    static std::string UDTText(const CvPolyLine& alignment, double cantBase);
    static void ReadTDTLines(rigel::LineSource& lines, CvPolyLine& alignment);
    static void ReadHDTLines(rigel::LineSource& lines, DT_Nodeliste& points);
    static void ReadUDTLines(rigel::LineSource& lines, CvPolyLine& alignment);
};
