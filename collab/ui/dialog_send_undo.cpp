// The undo hand-shake between a writer and the host: the host's list
// position, a writer's undo or redo request, and the host's answer that the
// writer's stroke must end first.
#include "app/ui/dialog.h"
#include "collab/coll_messages.h"

void Dialog::Coll_Send_URdata(int mode, QString userId, int index, int size)
{
    Coll_SendFrame("URdata_SET", coll::UndoPositionData(coll::Address{mode, userId}, index, size));
}

void Dialog::Coll_Send_UndoRedo(int mode, QString userId, int action)
{
    Coll_SendFrame("UndoRedo_SET", coll::UndoRedoData(coll::Address{mode, userId}, action));
}

void Dialog::Coll_Send_MouseRelease(int mode, QString userId, int action)
{
    Coll_SendFrame("MouseRelease_SET", coll::MouseReleaseData(coll::Address{mode, userId}, action));
}
