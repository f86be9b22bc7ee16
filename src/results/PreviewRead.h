// What the results window shows of a photo that it must read from the photo's file (its EXIF facts,
// its picture at the preview's size) is read on a thread apart from the GUI thread, within the bound a
// mount has to answer (PathLook): a share gone silent never holds the window, and a photo on a mount
// that does not answer is named as such.
#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QSize>
#include <QString>

class ExifInfo;

class PreviewRead
{
public:
    struct Answer {
        // What was asked for and could be read; nothing when the file's mount did not answer.
        std::shared_ptr<ExifInfo> exif;
        QImage image;
        // The point of the mount holding the file when it did not answer (now or before); empty when
        // the file was read.
        QString silentMount;
    };

    struct Request {
        QString path;
        bool exif = false;
        // The canvas the picture is fitted into; an empty size asks for no picture.
        QSize image;
    };

    // Reads what `request` asks of its file apart; `done` runs on the GUI thread once the file has
    // answered or its mount is named as not answering, within two bounds at most.
    static void start(const Request &request, std::function<void(const Answer &)> done);
    // The same read, made on the calling thread and waited for within those bounds.
    static Answer read(const Request &request);
};
