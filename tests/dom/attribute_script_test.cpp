// Tests of the interaction part of the document model.
