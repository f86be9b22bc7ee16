// What the results window's Trash Marked road does after the button: the removal side implements it
// and installs itself on the controller, so the results window needs no knowledge of the removal.
#pragma once

class TrashMarkedActions
{
public:
    virtual ~TrashMarkedActions() = default;

    // Asks for confirmation, or routes at once when the user turned the question off.
    virtual void confirmMoveToTrash() = 0;
    // The two buttons of the confirmation sheet.
    virtual void proceedToTrash() = 0;
    virtual void reviewBeforeTrash() = 0;
    // Routes the removal: the library guide first when library items are marked, else the run.
    virtual void moveToTrashAfterConfirmation() = 0;
};
