# Sources of the values group.
