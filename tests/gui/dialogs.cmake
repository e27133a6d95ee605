# Widget tests of the dialogs group.
